#include "console/parameters/ReportProcedures.h"

#include <optional>
#include <string>
#include <string_view>

#include "console/ConsoleIds.h"
#include "console/Messages.h"
#include "console/files/FileSteps.h"
#include "console/files/SafeFileWriter.h"
#include "console/windows/ReportDialog.h"
#include "platform/files/MemFile.h"
#include "ui/DataExchange.h"
#include "ui/Dialog.h"

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

}  // namespace

void ReportProcedures::Exchange(ui::DataExchange& dx) {
    dx.Control(console_id::kSerialNumber, serialNumber);
}

std::optional<std::string> ReportProcedures::ReadReport() {
    if (!context.session.RequireOnline(context.reporter)) return std::nullopt;
    MemFile report(kReportGrowth);
    context.reporter.Progress("Reading the report...");
    if (!context.link().GetReport(report)) {
        context.reporter.Error(kTextError);
        return std::nullopt;
    }
    // A successful read ends with the report's NUL.
    return std::string(reinterpret_cast<const char*>(report.Data()));
}

void ReportProcedures::ShowReport() {
    const auto text = ReadReport();
    if (!text) return;
    const auto& services = context.services;
    ReportDialog dialog(context.App(), services.files, text->c_str());
    dialog.OfferSaveName(
        StampedFileName(context.session.Queue(), services.link.system.Now(), ".txt"));
    dialog.KeepPlaceIn(viewerPlace);
    dialog.DoModal();
}

void ReportProcedures::SaveParametersAs() {
    if (!context.session.RequireOnline(context.reporter)) return;
    const auto& services = context.services;
    ui::FileDialogOptions options = ParameterFileDialog(false);
    options.initialName =
        DatedFileName(context.session.Queue(), services.link.system.Now(), ".par");
    const auto path = context.App().ShowFileDialog(options, context.Window());
    if (path) SaveParameters(*path);
}

// The block goes to a temporary file that replaces the chosen one only when
// the whole read succeeded. Whether the chosen file can be replaced is known
// before the machine is asked.
bool ReportProcedures::SaveParameters(const std::string& path) {
    if (!context.session.RequireOnline(context.reporter)) return false;
    Reporter& reporter = context.reporter;
    std::optional<SafeFileWriter> out;
    if (!FileStepSucceeds(reporter, [&] { out.emplace(context.services.files, path); }))
        return false;
    const bool saved = context.link().GetParameters(out->file()) &&
                       FileStepSucceeds(reporter, [&] { out->Commit(); });
    if (saved) {
        context.session.NoteSavedBlock(path);
        reporter.Completed(kTextCompleted);
        return true;
    }
    FileStepSucceeds(reporter, [&] { out->Discard(); });
    reporter.Error(kTextError);
    return false;
}

void ReportProcedures::WriteSerialNumber() {
    Reporter& reporter = context.reporter;
    if (!context.session.RequireOnline(reporter)) return;
    if (context.window != nullptr && !context.window->UpdateData(true)) {
        reporter.Error(kTextFailed);
        return;
    }
    const std::string text = serialNumber.GetText();
    if (const auto problem = SerialNumberProblem(text)) {
        reporter.Warning(*problem);
        return;
    }
    // The machine cannot read its serial number back: the technician sees
    // what is replaced before, and the log keeps what was written.
    const std::string queue = context.session.QueueAndPort();
    if (reporter.Ask(SerialQuestion(text, queue), ui::kMbOkCancel | ui::kMbDefButton2) != ui::kIdOk)
        return;
    if (context.link().WriteSerialNumber(text.c_str())) {
        context.log.Keep("Wrote serial number " + text + " to " + queue);
        reporter.Completed(kTextCompleted);
    } else {
        reporter.Error(kTextError);
    }
}

// A running-time counter is cleared only after the technician confirms; a
// machine that does not take the command is reported, not answered
// "Completed".
void ReportProcedures::ClearCounter(std::string_view prompt, bool (MachineLink::*clear)()) {
    Reporter& reporter = context.reporter;
    if (!context.session.RequireOnline(reporter)) return;
    const std::string ask = std::string(prompt) + "\nMachine: " + context.session.QueueAndPort();
    if (reporter.Ask(ask, ui::kMbOkCancel | ui::kMbDefButton2) != ui::kIdOk) return;
    if ((context.link().*clear)()) {
        reporter.Completed(kTextCompleted);
    } else {
        reporter.Error(kTextError);
    }
}

void ReportProcedures::ClearSpindleTime() {
    ClearCounter(kClearSpindlePrompt, &MachineLink::ClearSpindleTime);
}

void ReportProcedures::ClearPumpTime() {
    ClearCounter(kClearPumpPrompt, &MachineLink::ClearPumpTime);
}

// A status word that cannot be read (0xFFFF) carries the failed bit too.
void ReportProcedures::CheckSerialPort() {
    Reporter& reporter = context.reporter;
    if (!context.session.RequireOnline(reporter)) return;
    if (!context.link().CheckSerialPort()) {
        reporter.Error(kTextError);
        return;
    }
    if (context.link().GetStatusWord() & kStatusFailed) {
        reporter.Error(kTextFailed);
    } else {
        reporter.Completed(kTextCompleted);
    }
}

}  // namespace hw
