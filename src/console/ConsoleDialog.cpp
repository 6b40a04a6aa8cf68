#include "console/ConsoleDialog.h"

#include "console/ConsoleIds.h"
#include "console/Messages.h"
#include "console/ProgramPath.h"
#include "console/windows/AboutDialog.h"
#include "console/windows/MachineChooser.h"
#include "link/DeviceChannel.h"
#include "ui/Application.h"
#include "ui/DataExchange.h"

namespace hw {

namespace {

// Added to the title after the queue name while the machine is not answering.
constexpr const char* kTitleNotAnswering = " (not answering)";

// The console's services with its disk files and settings file replaced.
ConsoleServices WithFiles(const ConsoleServices& services, FileSystem& files,
                          SettingsFile& settings) {
    return {services.app, services.link,          services.programFile, files,
            settings,     services.versionBlocks, services.userSettings};
}

// The connection made at start-up, or that there is none.
void LogConnection(ActivityLog& activity, const MachineSession& session) {
    if (!session.Connected()) {
        activity.Add("No machine connected");
        return;
    }
    activity.Add("Connected to " + session.QueueAndPort() + ", instance " + session.Instance() +
                 ", device " + session.DevicePath() + ", firmware " +
                 (session.Firmware().empty() ? "not read" : session.Firmware()));
}

// A button's caption without its mnemonic marks.
std::string ButtonName(std::string caption, int id) {
    std::erase(caption, '&');
    return caption.empty() ? std::string("Button ") + std::to_string(id) : caption;
}

}  // namespace

constinit const ui::MessageMapEntry ConsoleDialog::messageMap[] = {
    ui::OnSysCommand<&ConsoleDialog::OnSysCommand>(),
    ui::OnMessage<&ConsoleDialog::OnClose>(ui::kWmClose),
    ui::OnPaint<&ConsoleDialog::OnPaint>(),
    ui::OnMessage<&ConsoleDialog::OnQueryDragIcon>(ui::kWmQueryDragIcon),
    ui::OnCommandTo<&ConsoleDialog::reports, &ReportProcedures::ShowReport>(console_id::kGetReport),
    ui::OnCommandTo<&ConsoleDialog::reports, &ReportProcedures::SaveParametersAs>(
        console_id::kGetParameters),
    ui::OnCommandTo<&ConsoleDialog::restore, &ParameterRestore::RestoreChosenFile>(
        console_id::kPutParameters),
    ui::OnCommandTo<&ConsoleDialog::calibration, &CalibrationProcedures::WriteScale>(
        console_id::kWriteXY),
    ui::OnCommandTo<&ConsoleDialog::reports, &ReportProcedures::WriteSerialNumber>(
        console_id::kWriteSerial),
    ui::OnCommandTo<&ConsoleDialog::reports, &ReportProcedures::ClearSpindleTime>(
        console_id::kClearSpindleTime),
    ui::OnCommandTo<&ConsoleDialog::reports, &ReportProcedures::CheckSerialPort>(
        console_id::kCheckSerialPort),
    ui::OnCommandTo<&ConsoleDialog::loadChecks, &LoadChecks::CheckLoadX>(console_id::kCheckLoadX),
    ui::OnCommandTo<&ConsoleDialog::loadChecks, &LoadChecks::CheckLoadY>(console_id::kCheckLoadY),
    ui::OnCommandTo<&ConsoleDialog::loadChecks, &LoadChecks::CheckLoadZ>(console_id::kCheckLoadZ),
    ui::OnCommandTo<&ConsoleDialog::calibration, &CalibrationProcedures::CorrectionCut>(
        console_id::kCorrectionCut),
    ui::OnCommandTo<&ConsoleDialog::output, &FileOutput::SendChosenFile>(console_id::kOutputFile),
    ui::OnCommandTo<&ConsoleDialog::loadChecks, &LoadChecks::StartAging>(console_id::kStartAging),
    ui::OnCommandTo<&ConsoleDialog::readouts, &MachineReadouts::ReadSpindle>(
        console_id::kReadSpindle),
    ui::OnCommandTo<&ConsoleDialog::backlash, &BacklashProcedures::Check>(
        console_id::kBacklashCheck),
    ui::OnTimer<&ConsoleDialog::OnTimer>(),
    ui::OnCommandTo<&ConsoleDialog::reports, &ReportProcedures::ClearPumpTime>(
        console_id::kClearPumpTime),
    ui::OnCommandTo<&ConsoleDialog::calibration, &CalibrationProcedures::WriteY0>(
        console_id::kWriteY0),
    ui::OnCommandTo<&ConsoleDialog::calibration, &CalibrationProcedures::WriteLaser>(
        console_id::kWriteLaser),
    ui::OnCommandTo<&ConsoleDialog::loadChecks, &LoadChecks::CheckLoadA>(console_id::kCheckLoadA),
    ui::OnCommandTo<&ConsoleDialog::readouts, &MachineReadouts::CheckPanel>(
        console_id::kCheckPanel),
    ui::OnCommandTo<&ConsoleDialog::calibration, &CalibrationProcedures::TakeToolPosition>(
        console_id::kToolPosition),
    ui::OnCommandTo<&ConsoleDialog::calibration, &CalibrationProcedures::CalcWriteLaser>(
        console_id::kCalcWriteLaser),
    ui::OnCommandTo<&ConsoleDialog::calibration, &CalibrationProcedures::CalcWriteY0>(
        console_id::kCalcWriteY0),
    ui::OnCommandRange<&ConsoleDialog::OnCorrectionMode>(console_id::kPercentMode,
                                                         console_id::kMeasuredMode),
    ui::OnDeviceChange<&ConsoleDialog::OnDeviceChange>(),
    ui::OnCommandTo<&ConsoleDialog::backlash, &BacklashProcedures::ShowDetails>(
        console_id::kBacklashDetails),
    ui::OnMessage<&ConsoleDialog::OnConnected>(kWmConnected),
};

std::span<const ui::MessageMapEntry> ConsoleDialog::GetMessageMap() const {
    return messageMap;
}

ConsoleDialog::ConsoleDialog(const ConsoleServices& consoleServices, StartupTimer* startup)
    : ui::Dialog(consoleServices.app, console_id::kDialog),
      activity(consoleServices.link.system),
      activityFiles(consoleServices.files, activity),
      settingsFile(consoleServices.settings, consoleServices.files),
      services(WithFiles(consoleServices, activityFiles, settingsFile)),
      session(consoleServices.link),
      log(activity, session.Link()),
      reporter(consoleServices.app, *this),
      sensorTimer(*this, session),
      context{session, reporter, services.Procedures(), log, sensorTimer, paths, this},
      reports(context, viewerPlace),
      restore(context),
      calibration(context),
      backlash(context, viewerPlace),
      loadChecks(context),
      output(context),
      readouts(context),
      bundle(context, backlash.Record()),
      icon(consoleServices.app.shell().LoadIconResource(console_id::kIcon)),
      startup(startup) {
    services.app.SetBoxObserver([this](const ui::BoxNote& box) {
        log.NoteBox(ShownBox{std::string(box.text), box.style, box.answer});
    });
    if (startup != nullptr) creationStart = startup->Now();
}

ConsoleDialog::~ConsoleDialog() {
    services.app.SetBoxObserver({});
}

void ConsoleDialog::RunCommand(int id, const std::function<void()>& handler) {
    if (sensorTimer.ResumeAnswering()) UpdateTitle();
    log.Run(ButtonName(ItemText(id), id), [&] { ui::Dialog::RunCommand(id, handler); });
}

void ConsoleDialog::DoDataExchange(ui::DataExchange& dx) {
    calibration.Exchange(dx);
    reports.Exchange(dx);
}

bool ConsoleDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    auto& shell = services.app.shell();
    if (shell.HasSystemMenu(window())) {
        const std::string about = shell.LoadStringResource(console_id::kAboutString);
        if (!about.empty()) {
            shell.AppendSystemMenuSeparator(window());
            shell.AppendSystemMenuItem(window(), console_id::kAboutCommand, about);
        }
        const std::string bundle = shell.LoadStringResource(console_id::kBundleString);
        if (!bundle.empty())
            shell.AppendSystemMenuItem(window(), console_id::kBundleCommand, bundle);
        const std::string choose = shell.LoadStringResource(console_id::kChooseString);
        if (!choose.empty())
            shell.AppendSystemMenuItem(window(), console_id::kChooseCommand, choose);
    }
    SetIcon(icon, true);
    SetIcon(icon, false);

    auto split = SplitProgramPath(services.programFile.Path());
    if (!split) return false;
    paths = std::move(*split);

    if (startup != nullptr) startup->CountSince(StartupPart::Dialog, creationStart);
    activity.Add(paths.programName + " started");
    session.ConnectRemembered(services.userSettings.Read(kChosenMachineSetting), startup);
    Connected();
    if (startup != nullptr) activity.Add(startup->Line());
    startup = nullptr;
    return true;
}

void ConsoleDialog::Connected() {
    if (session.Connected()) sensorTimer.Start();
    ShowConnection();
    LogConnection(activity, session);
    if (session.Connected()) Post({kWmConnected, 0, 0});
}

void ConsoleDialog::ChooseMachine() {
    // A procedure's window is up (the console disabled) or its polling paused.
    if (!IsWindowEnabled() || sensorTimer.Paused()) return;
    MachineChooser chooser(
        services.app, [this] { return session.FindMachines(); }, session.Queue());
    if (chooser.DoModal() != ui::kIdOk || chooser.Chosen().empty()) return;
    sensorTimer.Kill();
    session.Disconnect();
    calibration.Forget();
    backlash.Forget();
    readouts.Forget();
    activity.Add("Machine chosen: " + chooser.Chosen());
    if (session.ConnectTo(chooser.Chosen())) {
        services.userSettings.Write(kChosenMachineSetting, chooser.Chosen());
    }
    Connected();
}

void ConsoleDialog::UpdateTitle() {
    if (!session.Connected()) {
        SetTitle(paths.programName + " - " + std::string(kTextOffline));
        return;
    }
    SetTitle(paths.programName + " - " + session.QueueAndPort() +
             (sensorTimer.NotAnswering() ? kTitleNotAnswering : ""));
}

void ConsoleDialog::ShowConnection() {
    UpdateTitle();
    readouts.EnableSensorLabels(session.Connected());
    UpdateData(false);
    backlash.EnableGroup(session.Connected() && session.PanelTypeJ());
}

bool ConsoleDialog::OnDeviceChange(std::uintptr_t event, std::intptr_t) {
    if (event != ui::kDbtDevNodesChanged) return true;
    if (sensorTimer.ResumeAnswering()) UpdateTitle();
    const std::string& queue = session.Queue();
    if (!session.Recheck()) {
        activity.Add(std::string("Devices changed: the machine is still ") +
                     (session.Connected() ? "connected" : "offline"));
        UpdateTitle();
        UpdateData(false);
        return true;
    }
    const bool connected = session.Connected();
    activity.Add(connected ? "Machine arrived: connected to " + queue
                           : "Machine removed: " + queue + " offline");
    // A procedure that paused the polling starts it again when it ends.
    if (connected && !sensorTimer.Paused()) {
        sensorTimer.Start();
    } else if (!connected) {
        sensorTimer.Kill();
    }
    ShowConnection();
    if (connected) Post({kWmConnected, 0, 0});
    return true;
}

void ConsoleDialog::OnOK() {
    sensorTimer.Kill();
    session.Disconnect();
    EndDialog(ui::kIdOk);
}

void ConsoleDialog::OnCancel() {}

bool ConsoleDialog::PreTranslateMessage(const ui::Message& message) {
    return ui::IsKeyDown(message, ui::kVkReturn);
}

std::intptr_t ConsoleDialog::OnClose(const ui::Message&) {
    OnOK();
    return 0;
}

void ConsoleDialog::OnSysCommand(std::uintptr_t command) {
    if (command == console_id::kChooseCommand) {
        ChooseMachine();
        return;
    }
    if (command == console_id::kBundleCommand) {
        log.Run("Save Service Bundle", [this] { bundle.SaveChosenFile(); });
        return;
    }
    if (command != console_id::kAboutCommand) {
        Default();
        return;
    }
    AboutDialog about(services.app, services.versionBlocks, paths.modulePath);
    about.DoModal();
}

void ConsoleDialog::OnPaint() {
    if (!IsMinimized()) {
        Default();
        return;
    }
    services.app.geometry().PaintMinimizedIcon(window(), icon);
}

std::intptr_t ConsoleDialog::OnQueryDragIcon(const ui::Message&) {
    return static_cast<std::intptr_t>(icon);
}

// The sensor tick, from the 500 ms timer or any other WM_TIMER: a read that
// timed out held the window for the whole time-out and stops the ticks.
void ConsoleDialog::OnTimer(std::uintptr_t) {
    if (!session.Connected()) return;
    if (!readouts.ShowSensors()) {
        sensorTimer.MarkNotAnswering();
        activity.Add("The machine is not answering: sensor polling stopped");
        UpdateTitle();
    }
    Default();
}

// Posted when the console connects, so that the question comes once the
// console is up. A procedure of the console that is under way (its window
// up, the polling paused) watches the machine itself.
std::intptr_t ConsoleDialog::OnConnected(const ui::Message&) {
    if (!sensorTimer.Paused() && IsWindowEnabled()) loadChecks.OfferWatchOfRunning();
    return 0;
}

void ConsoleDialog::OnCorrectionMode() {
    UpdateData(true);
}

}  // namespace hw
