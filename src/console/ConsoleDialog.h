// The main console: the one modal dialog of the program. It owns the device
// link, connects to the first machine queue at start-up, shows the connection
// in its title, runs the 500 ms sensor timer while connected, follows device
// arrival and removal, and routes every button to its procedure.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "commands/MachineLink.h"
#include "console/ConsoleServices.h"
#include "console/MarkedSettingsFile.h"
#include "console/ProcedureOutcome.h"
#include "console/backlash/BacklashEntry.h"
#include "console/bundle/ActivityFiles.h"
#include "console/bundle/ActivityLog.h"
#include "console/bundle/ServiceBundle.h"
#include "ui/Controls.h"
#include "ui/Dialog.h"

namespace hw {

class ProgressDialog;
class SafeFileWriter;
struct LoadCheckAxis;

// The driver name of the machine's printer queues.
inline constexpr const char* kMachineDriverName = "Varnel QMV-240";
inline constexpr std::uintptr_t kSensorTimerEvent = 1;
inline constexpr std::uint32_t kSensorTimerMs = 500;
// Posted to the console when it has connected to the machine.
inline constexpr std::uint32_t kWmConnected = ui::kWmApp + 1;

class ConsoleDialog : public ui::Dialog {
  public:
    explicit ConsoleDialog(const ConsoleServices& services);
    ~ConsoleDialog() override;

    bool IsConnected() const { return connected; }
    const std::string& ProgramName() const { return programName; }
    const std::string& SettingsPath() const { return settingsPath; }
    const std::string& DeviceName() const { return deviceName; }
    std::intptr_t SensorTimerId() const { return sensorTimerId; }
    bool PanelTypeJ() const { return panelTypeJ; }

    // The 500 ms sensor timer, paused by the procedures that talk to the
    // machine for a long time. Stop kills the timer when it runs and keeps
    // it paused: a device change does not restart it meanwhile. Start ends
    // the pause and starts the timer while connected and not running.
    void StartSensorPolling();
    void StopSensorPolling();

    bool ConnectFirstPrinter();
    void ProbePanelType();
    void EnableBacklashGroup(bool enable);

    // The activity log of this session.
    const ActivityLog& Activity() const { return activity; }

    // WM_DEVICECHANGE: only "device nodes changed" re-tests the device.
    virtual std::intptr_t OnDeviceChange(std::uintptr_t event, std::intptr_t data);

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
    void RunCommand(int id, ui::CommandHandler handler) override;

  private:
    void UpdateTitle();
    void KillSensorTimer();
    // A sensor read that timed out held the window for the whole time-out:
    // the sensor timer stops and the title says so, until the technician
    // presses a button or the devices change (ResumeAnswering).
    void MarkNotAnswering();
    void ResumeAnswering();
    // Logs the connection made at start-up, or that there is none.
    void LogConnection();
    // The guard of every machine procedure: false, after the "OFFLINE" box,
    // when the console is not connected.
    bool Online();
    // The status word before a procedure that moves the machine: false,
    // after "error" when it did not come or "Hit [ENTER]    " when the
    // machine does not stand ready at its origin.
    bool MachineReadyAtOrigin();

    std::intptr_t OnSysCommand(const ui::Message& message);
    // WM_CLOSE (the close box, Alt+F4): as Close.
    std::intptr_t OnClose(const ui::Message& message);
    std::intptr_t OnPaint(const ui::Message& message);
    std::intptr_t OnQueryDragIcon(const ui::Message& message);
    std::intptr_t OnDeviceChangeMessage(const ui::Message& message);
    void OnCorrectionMode();

    // Report, parameters and counters (ReportProcedures.cpp; Put Parameters
    // in ParameterRestore.cpp).
    void OnGetReport();
    void OnGetParameters();
    void OnPutParameters();
    void OnWriteSerialNumber();
    void OnClearSpindleTime();
    void OnClearPumpTime();
    void OnCheckSerialPort();

    // Firmware and file output (FileOutput.cpp).
    void OnOutputFile();

    // Correction calibration (CalibrationProcedures.cpp). The offsets are
    // worked out in 64 bits so that no sum or difference of machine values
    // wraps round into the accepted range.
    void OnWriteXY();
    void OnCorrectionCut();
    void OnWriteLaser();
    void OnToolPosition();
    void OnCalcWriteLaser();
    void OnWriteY0();
    void OnCalcWriteY0();
    void ApplyLaserOffset(std::int64_t x, std::int64_t y, bool add);
    void ApplyY0Offset(std::int64_t value);
    // GetPosition for X, Y, Z and A; false, after the "error" box, unless
    // all four came back.
    bool ReadToolPosition(std::int32_t (&position)[4]);
    // The sensors read before a test cut: false, after a box, when the
    // cover is open ("Close the cover first.") or the read failed ("error").
    bool CoverClosed();
    // The test cut watched in the progress window until the machine stands
    // ready at its origin again ("Completed"), fails, stops answering, or
    // the technician presses Stop, which stops the machine's motion.
    void WatchTestCut(ProgressDialog& progress);
    // A Correction edit's text, or nullopt after a warning naming it when
    // anything but blanks follows its number (decimal: a scale edit).
    std::optional<std::string> NumberText(const ui::EditControl& edit, bool decimal);

    // Load checks and the aging run (LoadCheckProcedures.cpp): the machine
    // runs them by itself while the console watches its status word in the
    // progress window.
    void OnCheckLoadX();
    void OnCheckLoadY();
    void OnCheckLoadZ();
    void OnCheckLoadA();
    void OnStartAging();
    void RunLoadCheck(const LoadCheckAxis& axis);
    // Sensor polling paused and the console disabled under the progress
    // window while the started procedure is watched; endMessages: the end
    // is reported with "Completed" or "Failed". noAnswerText: the warning
    // when the machine stops answering.
    void WatchInProgressWindow(std::string_view caption, std::string_view statusText,
                               bool endMessages, std::string_view noAnswerText);
    void WatchProcedure(ProgressDialog& progress, bool endMessages, std::string_view noAnswerText);
    // kWmConnected: a procedure found running in the machine when the
    // console connected may be watched, and stopped, from the console.
    std::intptr_t OnConnected(const ui::Message& message);

    // Sensor and panel monitor (SensorMonitor.cpp).
    // The sensor labels are live only while connected; offline they keep
    // their last texts, drawn grey.
    void EnableSensorLabels(bool enable);
    std::intptr_t OnTimer(const ui::Message& message);
    void OnCheckPanel();

    // Spindle and rotary axis backlash (SpindleReadout.cpp, BacklashProcedures.cpp).
    void OnReadSpindle();
    void OnCheckBacklash();
    void OnBacklashDetails();

    // Save Service Bundle (BundleProcedures.cpp): status shows each step in
    // the progress window.
    void OnSaveServiceBundle();
    // leftOut gets one line for each part left out, saying why.
    std::vector<BundleMember> ReadBundleMembers(const std::function<void(std::string_view)>& status,
                                                std::string& leftOut);
    std::string MachineText();
    // Builds the archive and writes it through out; false, after the box
    // that says why, when either fails.
    bool WriteBundle(SafeFileWriter& out, const std::vector<BundleMember>& members,
                     const LocalTime& when);

    // Logs the procedure's start, runs it, then logs how it ended: the
    // outcome it set, or else what its last box tells (OutcomeText).
    void RunLogged(std::string_view name, const std::function<void()>& procedure);
    // How the running procedure ended, where its boxes do not tell it.
    void SetOutcome(std::string text) { outcome = std::move(text); }
    // A value the running procedure wrote into the machine, for the log.
    void LogWritten(std::string_view what);

    static const ui::MessageMapEntry messageMap[];

    ActivityLog activity;
    ActivityFiles activityFiles;
    MarkedSettingsFile settingsFile;
    // The last box shown, and the outcome set, while a logged procedure runs.
    std::optional<ShownBox> lastBox;
    std::optional<std::string> outcome;
    // The services, with the disk files seen through the activity log.
    ConsoleServices services;
    bool sensorPollingPaused = false;
    bool notAnswering = false;

  public:
    // Shared with the procedures behind the buttons.
    MachineLink link;
    bool connected = false;
    std::string deviceName;
    // The machine's version text as last read, for the activity log.
    std::string firmwareVersion;
    std::string programName;
    std::string modulePath;
    std::string settingsPath;
    std::intptr_t sensorTimerId = -1;
    bool backlashMeasured = false;
    bool panelTypeJ = false;
    std::array<BacklashEntry, kBacklashSteps> backlashTable{};
    // The last completed run's largest measurement, as the labels show it.
    BacklashMark backlashLargest;
    // When the run that filled backlashTable completed; none yet: nullopt.
    // A later run that fails or is cancelled leaves the table and this.
    std::optional<LocalTime> backlashCompletedAt;
    // Where the technician last left the text viewer, for the session.
    std::optional<ui::Rect> viewerPlace;
    std::int32_t toolPositionX = 0;
    std::int32_t toolPositionY = 0;
    bool toolPositionTaken = false;
    ui::EditControl correctionX;
    ui::EditControl correctionY;
    ui::EditControl correctionZ;
    ui::EditControl y0Offset;
    ui::EditControl laserX;
    ui::EditControl laserY;
    ui::EditControl serialNumber;
    int correctionMode = 0;
    ui::IconHandle icon = 0;
};

}  // namespace hw
