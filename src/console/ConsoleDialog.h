// The main console: the one modal dialog of the program. It owns the device
// link, connects at start-up to the machine last chosen (else the first
// machine queue that opens), switches to another machine on request, shows
// the connection in its title, runs the 500 ms sensor timer while connected, follows device
// arrival and removal, and routes every button to its procedure.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "console/BoxReporter.h"
#include "console/ConsoleServices.h"
#include "console/MachineSession.h"
#include "console/MarkedSettingsFile.h"
#include "console/ProcedureContext.h"
#include "console/SensorTimer.h"
#include "console/backlash/BacklashProcedures.h"
#include "console/bundle/ActivityFiles.h"
#include "console/bundle/ActivityLog.h"
#include "console/bundle/ProcedureLog.h"
#include "console/bundle/ServiceBundleProcedure.h"
#include "console/calibration/CalibrationProcedures.h"
#include "console/checks/LoadChecks.h"
#include "console/checks/MachineReadouts.h"
#include "console/files/FileOutput.h"
#include "console/parameters/ParameterRestore.h"
#include "console/parameters/ReportProcedures.h"
#include "link/StartupTimer.h"
#include "ui/Controls.h"
#include "ui/Dialog.h"

namespace hw {

// Posted to the console when it has connected to the machine.
inline constexpr std::uint32_t kWmConnected = ui::kWmApp + 1;

class ConsoleDialog : public ui::Dialog {
  public:
    // startup, when given, times the start-up up to the connected title and
    // has its line written to the activity log.
    explicit ConsoleDialog(const ConsoleServices& services, StartupTimer* startup = nullptr);
    ~ConsoleDialog() override;

    bool IsConnected() const { return session.Connected(); }
    const std::string& SettingsPath() const { return paths.settingsPath; }
    std::intptr_t SensorTimerId() const { return sensorTimer.Id(); }

    // The 500 ms sensor timer, paused by the procedures that talk to the
    // machine for a long time (SensorTimer).
    SensorPolling& Polling() { return sensorTimer; }

    // The activity log of this session.
    const ActivityLog& Activity() const { return activity; }

    // WM_DEVICECHANGE: only "device nodes changed" re-tests the device.
    bool OnDeviceChange(std::uintptr_t event, std::intptr_t data);

  protected:
    bool OnInitDialog() override;
    // Close (id 1), the close box and Alt+F4: kills the timer, disconnects
    // and ends the console.
    void OnOK() override;
    // Enter and Esc do not close the console: typed values, the backlash
    // result and the activity log would be lost at a keystroke. Enter in an
    // edit would reach Close, the default button, and Enter on a focused
    // button would press it: the console takes the key. Esc does nothing.
    bool PreTranslateMessage(const ui::Message& message) override;
    void OnCancel() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    std::span<const ui::MessageMapEntry> GetMessageMap() const override;
    // Every button's procedure is recorded in the activity log.
    void RunCommand(int id, const std::function<void()>& handler) override;

  private:
    // The connection, and "(not answering)" while the sensor timer is
    // stopped for it.
    void UpdateTitle();
    // The connection's state shown: title, sensor labels, backlash group.
    void ShowConnection();
    // The connection made, at start-up or to a chosen machine: the sensor
    // timer, the window and the activity log follow it.
    void Connected();
    // Choose Machine: refused while a procedure runs; a machine chosen is
    // connected to in place of the current one, remembered for the next
    // start, and what the units held of the machine before is forgotten.
    void ChooseMachine();

    void OnSysCommand(std::uintptr_t command);
    // WM_CLOSE (the close box, Alt+F4): as Close.
    std::intptr_t OnClose(const ui::Message& message);
    void OnPaint();
    std::intptr_t OnQueryDragIcon(const ui::Message& message);
    void OnCorrectionMode();

    // kWmConnected: a procedure found running in the machine when the
    // console connected may be watched, and stopped, from the console.
    std::intptr_t OnConnected(const ui::Message& message);
    // The sensor tick. A sensor read that timed out held the window for the
    // whole time-out: the sensor timer stops and the title says so, until
    // the technician presses a button or the devices change.
    void OnTimer(std::uintptr_t event);

    static const ui::MessageMapEntry messageMap[];

    ActivityLog activity;
    ActivityFiles activityFiles;
    MarkedSettingsFile settingsFile;
    // The services, with the disk files seen through the activity log.
    ConsoleServices services;
    MachineSession session;
    ProcedureLog log;
    BoxReporter reporter;
    SensorTimer sensorTimer;
    ProgramPaths paths;
    ProcedureContext context;
    // Where the technician last left the text viewer, for the session.
    std::optional<ui::Rect> viewerPlace;
    ReportProcedures reports;
    ParameterRestore restore;
    CalibrationProcedures calibration;
    BacklashProcedures backlash;
    LoadChecks loadChecks;
    FileOutput output;
    MachineReadouts readouts;
    ServiceBundleProcedure bundle;
    ui::IconHandle icon = 0;
    // The start-up being timed, until the console has connected; and when
    // the dialog's window began to be made.
    StartupTimer* startup;
    std::uint64_t creationStart = 0;
};

}  // namespace hw
