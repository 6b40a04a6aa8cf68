// The tick counter, sleep, local time and OS version of the simulated PC, on
// the sim clock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/device/Alerts.h"
#include "platform/device/System.h"
#include "sim/pc/SimClock.h"

namespace hw {

class SimSystem final : public System {
  public:
    explicit SimSystem(SimClock& clock) : clock_(clock) {}

    // The tick counter is the clock plus tickBase, modulo 2^32; a base just
    // below 2^32 makes it wrap soon.
    std::uint32_t tickBase = 0;
    std::uint32_t platformId = kPlatformWin32Nt;
    // The local time when the clock stood at 0; it runs on with the clock.
    LocalTime start{2026, 12, 9, 8, 0, 0};

    std::uint32_t TickCount() override {
        return static_cast<std::uint32_t>(tickBase + clock_.NowMs());
    }
    // The sim clock has no finer steps than milliseconds.
    std::uint64_t MicrosecondCount() override { return clock_.NowMs() * 1000; }
    void Sleep(std::uint32_t ms) override { clock_.SleepMs(ms); }
    LocalTime Now() override;
    bool QueryPlatformId(std::uint32_t& id) override {
        id = platformId;
        return true;
    }
    // The simulated PC runs Windows 10, version 22H2.
    bool QueryOsVersion(OsVersion& version) override {
        version = {platformId, 10, 0, 19045};
        return true;
    }

  private:
    SimClock& clock_;
};

// Alerts of the simulated PC: nothing is shown; every alert is recorded.
class SimAlerts final : public Alerts {
  public:
    int outOfMemory = 0;
    std::vector<std::string> reports;

    void ShowOutOfMemory() override { ++outOfMemory; }
    void ReportError(const FrameworkException& error) override {
        reports.push_back(ErrorReportText(error));
    }
};

}  // namespace hw
