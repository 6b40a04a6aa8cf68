// Report, Get Parameters, serial number, running-time counters and the
// serial-port check; Put Parameters has a file of its own.
#include <optional>
#include <string>
#include <string_view>

#include "console/ConsoleDialog.h"
#include "console/Messages.h"
#include "console/files/FileSteps.h"
#include "console/files/SafeFileWriter.h"
#include "console/windows/ReportDialog.h"
#include "platform/MemFile.h"

namespace hw {

namespace {

constexpr std::string_view kClearSpindlePrompt =
    "Spindle Time will be cleared.\n             Are you sure?";
constexpr std::string_view kClearPumpPrompt =
    "Pump Time will be cleared.\n             Are you sure?";
constexpr std::string_view kWrongLength = "Wrong Number of Characters";
constexpr std::string_view kBadCharacter = "Bad Character";

constexpr std::uint32_t kReportGrowth = 1024;
constexpr std::size_t kSerialLength = 7;
// Characters 4 to 7 of a serial number are digits; the first three are free.
constexpr std::size_t kSerialFirstDigit = 3;

// The warning a serial number earns, or nothing when it may be sent. A NUL
// among the free characters would end the number early on the wire, so it
// is no character of a serial number.
std::optional<std::string_view> SerialNumberProblem(std::string_view text) {
    if (text.size() != kSerialLength) return kWrongLength;
    if (text.find('\0') != std::string_view::npos) return kBadCharacter;
    for (std::size_t i = kSerialFirstDigit; i < kSerialLength; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < '0' || byte > '9') return kBadCharacter;
    }
    return std::nullopt;
}

std::string SerialQuestion(const std::string& serial, const std::string& queue) {
    return "Write the serial number " + serial + " to " + queue +
           "? It replaces the machine's serial number.";
}

// A running-time counter is cleared only after the technician confirms; a
// machine that does not take the command is reported, not answered
// "Completed".
void ClearCounter(ConsoleDialog& console, std::string_view prompt, bool (MachineLink::*clear)()) {
    const int answer = console.ShowMessageBox(prompt, {}, ui::kMbOkCancel | ui::kMbDefButton2);
    if (answer != ui::kIdOk) return;
    if ((console.link.*clear)()) {
        ShowCompleted(console);
    } else {
        ShowErrorBox(console.app(), kTextError);
    }
}

}  // namespace

void ConsoleDialog::OnGetReport() {
    if (!Online()) return;
    MemFile report(kReportGrowth);
    if (!link.GetReport(report)) {
        ShowErrorBox(services.app, kTextError);
        return;
    }
    // A successful read ends with the report's NUL.
    ReportDialog dialog(services.app, services.files, reinterpret_cast<const char*>(report.Data()));
    dialog.OfferSaveName(StampedFileName(deviceName, services.link.system.Now(), ".txt"));
    dialog.KeepPlaceIn(viewerPlace);
    dialog.DoModal();
}

// The block goes to a temporary file that replaces the chosen one only when
// the whole read succeeded: a failed read never destroys a good backup nor
// leaves a truncated one that could later be written into a machine. Whether
// the chosen file can be replaced is known before the machine is asked.
void ConsoleDialog::OnGetParameters() {
    if (!Online()) return;
    ui::FileDialogOptions options = ParameterFileDialog(false);
    options.initialName = DatedFileName(deviceName, services.link.system.Now(), ".par");
    const auto path = services.app.ShowFileDialog(options, window());
    if (!path) return;
    std::optional<SafeFileWriter> out;
    if (!FileStepSucceeds(services.app, [&] { out.emplace(services.files, *path); })) return;
    const bool saved =
        link.GetParameters(out->file()) && FileStepSucceeds(services.app, [&] { out->Commit(); });
    if (saved) {
        ShowCompleted(*this);
        return;
    }
    FileStepSucceeds(services.app, [&] { out->Discard(); });
    ShowErrorBox(services.app, kTextError);
}

void ConsoleDialog::OnWriteSerialNumber() {
    if (!Online()) return;
    if (!UpdateData(true)) {
        ShowErrorBox(services.app, kTextFailed);
        return;
    }
    const std::string text = serialNumber.GetText();
    if (const auto problem = SerialNumberProblem(text)) {
        ShowWarningBox(services.app, *problem);
        return;
    }
    // The machine cannot read its serial number back: the technician sees
    // what is replaced before, and the log keeps what was written.
    if (ShowMessageBox(SerialQuestion(text, deviceName), {}, ui::kMbOkCancel | ui::kMbDefButton2) !=
        ui::kIdOk)
        return;
    if (link.WriteSerialNumber(text.c_str())) {
        activity.Keep("Wrote serial number " + text + " to " + deviceName);
        ShowCompleted(*this);
    } else {
        ShowErrorBox(services.app, kTextError);
    }
}

void ConsoleDialog::OnClearSpindleTime() {
    if (Online()) ClearCounter(*this, kClearSpindlePrompt, &MachineLink::ClearSpindleTime);
}

void ConsoleDialog::OnClearPumpTime() {
    if (Online()) ClearCounter(*this, kClearPumpPrompt, &MachineLink::ClearPumpTime);
}

// A status word that cannot be read (0xFFFF) carries the failed bit too.
void ConsoleDialog::OnCheckSerialPort() {
    if (!Online()) return;
    if (!link.CheckSerialPort()) {
        ShowErrorBox(services.app, kTextError);
        return;
    }
    if (link.GetStatusWord() & kStatusFailed) {
        ShowErrorBox(services.app, kTextFailed);
    } else {
        ShowCompleted(*this);
    }
}

}  // namespace hw
