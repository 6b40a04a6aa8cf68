#include "cli/TextReporter.h"

#include <array>
#include <utility>

#include "console/Messages.h"
#include "ui/Types.h"

namespace hw::cli {

namespace {

// The console's prompts that mean something else on a command line.
constexpr std::array<std::pair<std::string_view, std::string_view>, 2> kInWords = {{
    {kTextHitEnter, "machine not ready at origin"},
    {kTextOffline, "no machine connected"},
}};

constexpr std::uint32_t kButtonsMask = 0x0F;
constexpr std::uint32_t kDefaultMask = 0xF00;

}  // namespace

std::string OneLine(std::string_view text) {
    for (const auto& [prompt, words] : kInWords) {
        if (text == prompt) return std::string(words);
    }
    std::string line(text);
    for (char& c : line) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

void TextReporter::Progress(std::string_view step) {
    if (progress == nullptr) return;
    ClearProgress();
    *progress << '\r' << step;
    shownStep = step.size();
}

void TextReporter::ClearProgress() {
    if (progress == nullptr || shownStep == 0) return;
    *progress << '\r' << std::string(shownStep, ' ') << '\r';
    shownStep = 0;
}

void TextReporter::Fail(int code, std::string_view text) {
    ClearProgress();
    err << OneLine(text) << '\n';
    if (exitCode == kExitDone) exitCode = code;
}

void TextReporter::Error(std::string_view text) {
    Fail(text == kTextOffline ? kExitNoMachine : kExitFailed, text);
}

void TextReporter::Warning(std::string_view text) {
    Fail(kExitFailed, text);
}

void TextReporter::FileProblem(std::string_view text) {
    Fail(kExitFileError, text);
}

void TextReporter::Information(std::string_view text) {
    ClearProgress();
    out << text << '\n';
}

void TextReporter::Completed(std::string_view text) {
    ClearProgress();
    out << text << '\n';
}

void TextReporter::Incomplete(std::string_view text) {
    Fail(kExitFailed, text);
}

// The question is printed, as what would be done. A confirmation (OK and
// Cancel) is answered OK only with --yes; any other question takes its
// default answer. A refusal ends the run with
// kExitNotConfirmed.
int TextReporter::Ask(std::string_view question, std::uint32_t style) {
    ClearProgress();
    out << question << '\n';
    const std::uint32_t buttons = style & kButtonsMask;
    const bool second = (style & kDefaultMask) == ui::kMbDefButton2;
    int answer = 0;
    if (buttons == ui::kMbOkCancel) {
        answer = yes ? ui::kIdOk : ui::kIdCancel;
    } else {
        answer = second ? ui::kIdNo : ui::kIdYes;
    }
    if (answer == ui::kIdCancel || answer == ui::kIdNo) {
        if (exitCode == kExitDone) exitCode = kExitNotConfirmed;
        err << "not confirmed: nothing written\n";
    }
    return answer;
}

}  // namespace hw::cli
