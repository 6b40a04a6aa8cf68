#include "console/ConsoleDialog.h"

#include "console/ConsoleIds.h"
#include "console/Messages.h"
#include "console/ProgramPath.h"
#include "console/windows/AboutDialog.h"
#include "link/DeviceChannel.h"
#include "ui/Application.h"
#include "ui/DataExchange.h"

namespace hw {

namespace id = console_id;

namespace {

// Added to the title after the queue name while the machine is not answering.
constexpr const char* kTitleNotAnswering = " (not answering)";

// The machine's version text names its panel type: "PNL", and later a "J"
// for the panel that carries the rotary axis dial.
bool IsPanelTypeJ(std::string_view version, bool previous) {
    const auto panel = version.find("PNL");
    if (panel == std::string_view::npos) return previous;
    return version.find('J', panel) != std::string_view::npos;
}

// The console's services with its disk files and settings file replaced.
ConsoleServices WithFiles(const ConsoleServices& services, FileSystem& files,
                          SettingsFile& settings) {
    return {services.app, services.link, services.programFile,
            files,        settings,      services.versionBlocks};
}

// A button's caption without its mnemonic marks.
std::string ButtonName(std::string caption, int id) {
    std::erase(caption, '&');
    return caption.empty() ? std::string("Button ") + std::to_string(id) : caption;
}

}  // namespace

const ui::MessageMapEntry ConsoleDialog::messageMap[] = {
    ui::OnMessage(ui::kWmSysCommand, &ConsoleDialog::OnSysCommand),
    ui::OnMessage(ui::kWmClose, &ConsoleDialog::OnClose),
    ui::OnMessage(ui::kWmPaint, &ConsoleDialog::OnPaint),
    ui::OnMessage(ui::kWmQueryDragIcon, &ConsoleDialog::OnQueryDragIcon),
    ui::OnCommand(id::kGetReport, &ConsoleDialog::OnGetReport),
    ui::OnCommand(id::kGetParameters, &ConsoleDialog::OnGetParameters),
    ui::OnCommand(id::kPutParameters, &ConsoleDialog::OnPutParameters),
    ui::OnCommand(id::kWriteXY, &ConsoleDialog::OnWriteXY),
    ui::OnCommand(id::kWriteSerial, &ConsoleDialog::OnWriteSerialNumber),
    ui::OnCommand(id::kClearSpindleTime, &ConsoleDialog::OnClearSpindleTime),
    ui::OnCommand(id::kCheckSerialPort, &ConsoleDialog::OnCheckSerialPort),
    ui::OnCommand(id::kCheckLoadX, &ConsoleDialog::OnCheckLoadX),
    ui::OnCommand(id::kCheckLoadY, &ConsoleDialog::OnCheckLoadY),
    ui::OnCommand(id::kCheckLoadZ, &ConsoleDialog::OnCheckLoadZ),
    ui::OnCommand(id::kCorrectionCut, &ConsoleDialog::OnCorrectionCut),
    ui::OnCommand(id::kOutputFile, &ConsoleDialog::OnOutputFile),
    ui::OnCommand(id::kStartAging, &ConsoleDialog::OnStartAging),
    ui::OnCommand(id::kReadSpindle, &ConsoleDialog::OnReadSpindle),
    ui::OnCommand(id::kBacklashCheck, &ConsoleDialog::OnCheckBacklash),
    ui::OnMessage(ui::kWmTimer, &ConsoleDialog::OnTimer),
    ui::OnCommand(id::kClearPumpTime, &ConsoleDialog::OnClearPumpTime),
    ui::OnCommand(id::kWriteY0, &ConsoleDialog::OnWriteY0),
    ui::OnCommand(id::kWriteLaser, &ConsoleDialog::OnWriteLaser),
    ui::OnCommand(id::kCheckLoadA, &ConsoleDialog::OnCheckLoadA),
    ui::OnCommand(id::kCheckPanel, &ConsoleDialog::OnCheckPanel),
    ui::OnCommand(id::kToolPosition, &ConsoleDialog::OnToolPosition),
    ui::OnCommand(id::kCalcWriteLaser, &ConsoleDialog::OnCalcWriteLaser),
    ui::OnCommand(id::kCalcWriteY0, &ConsoleDialog::OnCalcWriteY0),
    ui::OnCommandRange(id::kPercentMode, id::kMeasuredMode, &ConsoleDialog::OnCorrectionMode),
    ui::OnMessage(ui::kWmDeviceChange, &ConsoleDialog::OnDeviceChangeMessage),
    ui::OnCommand(id::kBacklashDetails, &ConsoleDialog::OnBacklashDetails),
    ui::OnMessage(kWmConnected, &ConsoleDialog::OnConnected),
};

std::span<const ui::MessageMapEntry> ConsoleDialog::GetMessageMap() const {
    return messageMap;
}

ConsoleDialog::ConsoleDialog(const ConsoleServices& consoleServices)
    : ui::Dialog(consoleServices.app, id::kDialog),
      activity(consoleServices.link.system),
      activityFiles(consoleServices.files, activity),
      settingsFile(consoleServices.settings, consoleServices.files),
      services(WithFiles(consoleServices, activityFiles, settingsFile)),
      link(consoleServices.link),
      icon(consoleServices.app.shell().LoadIconResource(id::kIcon)) {
    services.app.SetBoxObserver([this](const ui::BoxNote& box) {
        lastBox = ShownBox{std::string(box.text), box.style, box.answer};
    });
}

ConsoleDialog::~ConsoleDialog() {
    services.app.SetBoxObserver({});
}

void ConsoleDialog::RunCommand(int id, ui::CommandHandler handler) {
    ResumeAnswering();
    RunLogged(ButtonName(ItemText(id), id), [&] { ui::Dialog::RunCommand(id, handler); });
}

void ConsoleDialog::RunLogged(std::string_view name, const std::function<void()>& procedure) {
    activity.Add(std::string(name) + " started");
    lastBox.reset();
    outcome.reset();
    link.ClearLastFailure();
    procedure();
    if (!outcome) outcome = OutcomeText(lastBox, link.LastFailure());
    activity.Add(std::string(name) + " ended: " + *outcome);
}

void ConsoleDialog::LogWritten(std::string_view what) {
    activity.Add("Wrote " + std::string(what));
}

void ConsoleDialog::DoDataExchange(ui::DataExchange& dx) {
    dx.Control(id::kCorrectionX, correctionX);
    dx.Control(id::kCorrectionY, correctionY);
    dx.Control(id::kCorrectionZ, correctionZ);
    dx.Control(id::kY0Offset, y0Offset);
    dx.Control(id::kLaserX, laserX);
    dx.Control(id::kLaserY, laserY);
    dx.Control(id::kSerialNumber, serialNumber);
    dx.Radio(id::kPercentMode, correctionMode);
}

bool ConsoleDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    auto& shell = services.app.shell();
    if (shell.HasSystemMenu(window())) {
        const std::string about = shell.LoadStringResource(id::kAboutString);
        if (!about.empty()) {
            shell.AppendSystemMenuSeparator(window());
            shell.AppendSystemMenuItem(window(), id::kAboutCommand, about);
        }
        const std::string bundle = shell.LoadStringResource(id::kBundleString);
        if (!bundle.empty()) shell.AppendSystemMenuItem(window(), id::kBundleCommand, bundle);
    }
    SetIcon(icon, true);
    SetIcon(icon, false);

    modulePath = services.programFile.Path();
    const auto paths = SplitProgramPath(modulePath);
    if (!paths) return false;
    programName = paths->programName;
    settingsPath = paths->settingsPath;

    activity.Add(programName + " started");
    deviceName = kMachineDriverName;
    connected = ConnectFirstPrinter();
    UpdateTitle();
    EnableSensorLabels(connected);
    if (connected)
        sensorTimerId = static_cast<std::intptr_t>(SetTimer(kSensorTimerEvent, kSensorTimerMs));
    backlashMeasured = false;
    ProbePanelType();
    LogConnection();
    if (connected) Post({kWmConnected, 0, 0});
    return true;
}

bool ConsoleDialog::ConnectFirstPrinter() {
    link.Disconnect();
    const int count = link.FindPrinters(kMachineDriverName);
    for (int i = 0; i < count; ++i) {
        const std::string* name = link.PrinterName(i);
        if (name == nullptr || !link.Connect(*name, 0, 32, false)) continue;
        deviceName = *name;
        return true;
    }
    return false;
}

void ConsoleDialog::LogConnection() {
    if (!connected) {
        activity.Add("No machine connected");
        return;
    }
    activity.Add(std::string("Connected to ") + deviceName + ", device " +
                 link.Channel().DevicePath() + ", firmware " +
                 (firmwareVersion.empty() ? "not read" : firmwareVersion));
}

void ConsoleDialog::UpdateTitle() {
    if (!connected) {
        SetTitle(programName + " - " + std::string(kTextOffline));
        return;
    }
    SetTitle(programName + " - " + deviceName + (notAnswering ? kTitleNotAnswering : ""));
}

void ConsoleDialog::KillSensorTimer() {
    if (sensorTimerId <= 0) return;
    KillTimer(static_cast<std::uintptr_t>(sensorTimerId));
    sensorTimerId = -1;
}

void ConsoleDialog::MarkNotAnswering() {
    notAnswering = true;
    KillSensorTimer();
    activity.Add("The machine is not answering: sensor polling stopped");
    UpdateTitle();
}

void ConsoleDialog::ResumeAnswering() {
    if (!notAnswering) return;
    notAnswering = false;
    UpdateTitle();
    if (connected && !sensorPollingPaused && sensorTimerId <= 0) {
        sensorTimerId = static_cast<std::intptr_t>(SetTimer(kSensorTimerEvent, kSensorTimerMs));
    }
}

void ConsoleDialog::StartSensorPolling() {
    sensorPollingPaused = false;
    if (!connected || sensorTimerId > 0) return;
    sensorTimerId = static_cast<std::intptr_t>(SetTimer(kSensorTimerEvent, kSensorTimerMs));
}

void ConsoleDialog::StopSensorPolling() {
    sensorPollingPaused = true;
    KillSensorTimer();
}

void ConsoleDialog::ProbePanelType() {
    if (connected) {
        char version[64] = {};
        if (link.GetVersionString(version, sizeof version)) {
            firmwareVersion = version;
            panelTypeJ = IsPanelTypeJ(version, panelTypeJ);
        }
        UpdateData(false);
    }
    EnableBacklashGroup(connected && panelTypeJ);
}

void ConsoleDialog::EnableBacklashGroup(bool enable) {
    for (int item : {id::kBacklashCheck, id::kBacklashDetails, id::kBacklashGroup,
                     id::kBacklashAngle, id::kBacklashValue}) {
        EnableItem(item, enable);
    }
}

std::intptr_t ConsoleDialog::OnDeviceChange(std::uintptr_t event, std::intptr_t) {
    if (event != ui::kDbtDevNodesChanged) return 1;
    ResumeAnswering();
    const bool wasConnected = connected;
    connected = link.CheckConnection();
    if (connected == wasConnected) {
        activity.Add(std::string("Devices changed: the machine is still ") +
                     (connected ? "connected" : "offline"));
    } else {
        activity.Add(connected ? "Machine arrived: connected to " + deviceName
                               : "Machine removed: " + deviceName + " offline");
        EnableSensorLabels(connected);
        // A procedure that paused the polling starts it again when it ends.
        if (connected && !sensorPollingPaused) {
            sensorTimerId = static_cast<std::intptr_t>(SetTimer(kSensorTimerEvent, kSensorTimerMs));
        } else if (!connected) {
            KillSensorTimer();
        }
        ProbePanelType();
        UpdateData(false);
        if (connected) Post({kWmConnected, 0, 0});
    }
    UpdateTitle();
    UpdateData(false);
    return 1;
}

std::intptr_t ConsoleDialog::OnDeviceChangeMessage(const ui::Message& message) {
    return OnDeviceChange(message.wParam, message.lParam);
}

void ConsoleDialog::OnOK() {
    if (sensorTimerId > 0) KillTimer(static_cast<std::uintptr_t>(sensorTimerId));
    link.Disconnect();
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

std::intptr_t ConsoleDialog::OnSysCommand(const ui::Message& message) {
    if ((message.wParam & 0xFFF0) == id::kBundleCommand) {
        RunLogged("Save Service Bundle", [this] { OnSaveServiceBundle(); });
        return 0;
    }
    if ((message.wParam & 0xFFF0) != id::kAboutCommand) return Default(message);
    AboutDialog about(services.app, services.versionBlocks, modulePath);
    about.DoModal();
    return 0;
}

std::intptr_t ConsoleDialog::OnPaint(const ui::Message& message) {
    if (!IsMinimized()) return Default(message);
    services.app.geometry().PaintMinimizedIcon(window(), icon);
    return 0;
}

std::intptr_t ConsoleDialog::OnQueryDragIcon(const ui::Message&) {
    return static_cast<std::intptr_t>(icon);
}

bool ConsoleDialog::Online() {
    // The guard every procedure that talks to the machine starts with.
    if (connected) return true;
    ShowErrorBox(services.app, kTextOffline);
    return false;
}

bool ConsoleDialog::MachineReadyAtOrigin() {
    // A status word that did not come is no machine waiting at the origin.
    const std::uint16_t status = link.GetStatusWord();
    if (status == kStatusNoAnswer) {
        ShowErrorBox(services.app, kTextError);
        return false;
    }
    if ((status & kStatusReadyAtOrigin) == 0) {
        ShowWarningBox(services.app, kTextHitEnter);
        return false;
    }
    return true;
}

void ConsoleDialog::OnCorrectionMode() {
    UpdateData(true);
}

}  // namespace hw
