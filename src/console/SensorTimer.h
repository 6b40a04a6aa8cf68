// The console's 500 ms sensor timer. It runs while connected; the procedures
// that talk to the machine for long pause it (a device change does not
// restart it meanwhile), and a sensor read that timed out stops it until the
// technician presses a button or the devices change.
#pragma once

#include <cstdint>

#include "console/ProcedureContext.h"
#include "ui/DialogTimer.h"

namespace hw {

inline constexpr std::uintptr_t kSensorTimerEvent = 1;
inline constexpr std::uint32_t kSensorTimerMs = 500;

class SensorTimer final : public SensorPolling {
  public:
    SensorTimer(ui::Dialog& console, const MachineSession& session)
        : timer(console), session(session) {}

    // The running timer's event; -1: not running.
    std::intptr_t Id() const {
        return timer.IsRunning() ? static_cast<std::intptr_t>(kSensorTimerEvent) : -1;
    }
    bool Paused() const { return paused; }
    bool NotAnswering() const { return notAnswering; }

    void Start();
    void Kill();
    // Pause kills the timer when it runs and keeps it paused; Resume ends
    // the pause and starts the timer while connected and not running.
    void Pause() override;
    void Resume() override;
    // The machine did not answer a sensor read: the timer stops.
    void MarkNotAnswering();
    // Ends the not-answering state, starting the timer again while connected
    // and not paused; false when the machine was answering.
    bool ResumeAnswering();

  private:
    ui::DialogTimer timer;
    const MachineSession& session;
    bool paused = false;
    bool notAnswering = false;
};

}  // namespace hw
