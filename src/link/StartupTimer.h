// The program's start-up timed in parts on the PC's fine clock, from the
// process's creation to the console showing its connection: each step timed
// counts to its part, and what no step covers is "other".
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/device/System.h"

namespace hw {

enum class StartupPart { Spooler, Registry, Device, FirstReads, Dialog, Count };

class StartupTimer {
  public:
    // Starts now; beforeUs: how long the process had run before (what the
    // OS took to start it), counted as its own part.
    StartupTimer(System& clock, std::uint64_t beforeUs);

    std::uint64_t Now() const { return clock.MicrosecondCount(); }
    // Counts the time from since (a Now) to now to part.
    void CountSince(StartupPart part, std::uint64_t since);

    // "Start-up: process 9.1 ms, spooler 3.0 ms, registry 1.2 ms, device 0.4 ms, first reads
    // 2.0 ms, dialog 41.5 ms, other 5.2 ms, total 62.4 ms", up to now.
    std::string Line() const;

  private:
    System& clock;
    std::uint64_t beforeUs;
    std::uint64_t startUs;
    std::array<std::uint64_t, static_cast<std::size_t>(StartupPart::Count)> partUs{};
};

// The time of one step of the start-up, from its construction to its end,
// counted to its part; nothing without a timer.
class StartupStep {
  public:
    StartupStep(StartupTimer* timer, StartupPart part)
        : timer(timer), part(part), since(timer != nullptr ? timer->Now() : 0) {}
    ~StartupStep() {
        if (timer != nullptr) timer->CountSince(part, since);
    }
    StartupStep(const StartupStep&) = delete;
    StartupStep& operator=(const StartupStep&) = delete;

  private:
    StartupTimer* timer;
    StartupPart part;
    std::uint64_t since;
};

// Runs step, its time counted to part when a timer is given; returns what it returns.
template <class Step>
decltype(auto) Timed(StartupTimer* timer, StartupPart part, Step&& step) {
    const StartupStep timed(timer, part);
    return step();
}

}  // namespace hw
