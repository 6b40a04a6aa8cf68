// What a procedure runs with, handed to it explicitly: the machine session,
// the reporter its boxes or text go to, the console's services, the
// activity log, the sensor polling it pauses while it talks to the machine
// for long, and the window its own windows belong to (none on the command
// line).
#pragma once

#include "console/ConsoleServices.h"
#include "console/MachineSession.h"
#include "console/ProgramPath.h"
#include "console/Reporter.h"
#include "console/bundle/ProcedureLog.h"
#include "ui/Types.h"

namespace hw {

namespace ui {
class Application;
class Dialog;
}  // namespace ui

// The 500 ms sensor polling of the console. Pause stops it and keeps it
// stopped, whatever the devices do meanwhile; Resume starts it again while
// connected.
class SensorPolling {
  public:
    virtual ~SensorPolling() = default;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
};

// Sensor polling paused for a scope.
class PollingPause {
  public:
    explicit PollingPause(SensorPolling& polling) : polling(polling) { polling.Pause(); }
    ~PollingPause() { polling.Resume(); }
    PollingPause(const PollingPause&) = delete;
    PollingPause& operator=(const PollingPause&) = delete;

  private:
    SensorPolling& polling;
};

struct ProcedureContext {
    MachineSession& session;
    Reporter& reporter;
    ProcedureServices services;
    ProcedureLog& log;
    SensorPolling& polling;
    // The program's name and settings file.
    const ProgramPaths& paths;
    // The window the procedure's own windows and file dialogs belong to;
    // nullptr: no window (the command line).
    ui::Dialog* window = nullptr;

    MachineLink& link() const { return session.Link(); }
    // The window's id for a file dialog's owner; none without a window.
    ui::WindowId Window() const;
    // The window's application, for the procedure's own windows and file
    // dialogs: only where there is a window.
    ui::Application& App() const;
};

}  // namespace hw
