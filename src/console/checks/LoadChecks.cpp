#include "console/checks/LoadChecks.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "console/ConsoleIds.h"
#include "console/Messages.h"
#include "console/calibration/CalibrationMath.h"
#include "console/windows/ProgressDialog.h"
#include "ui/Dialog.h"

namespace hw {

// One axis's load check: the settings section that holds its power, the
// axis code the machine knows it by and the caption of its progress window.
struct LoadCheckAxis {
    const char* section;
    std::uint8_t code;
    const char* caption;
};

namespace {

// "status 0x6003", for the activity context.log.
std::string StatusText(std::uint16_t status) {
    char text[16];
    std::snprintf(text, sizeof text, "status 0x%04X", status);
    return text;
}

constexpr LoadCheckAxis kLoadX{"CheckLoadX", kLoadAxisX, "Check Load X"};
constexpr LoadCheckAxis kLoadY{"CheckLoadY", kLoadAxisY, "Check Load Y"};
constexpr LoadCheckAxis kLoadZ{"CheckLoadZ", kLoadAxisZ, "Check Load Z"};
constexpr LoadCheckAxis kLoadA{"CheckLoadA", kLoadAxisA, "Check Load A"};

// What the technician is told when the machine stops answering during a
// watch: the watch cannot tell how the procedure ended.
constexpr std::string_view kLoadCheckNoAnswer =
    "The machine stopped answering. The load check's result is unknown.";
constexpr std::string_view kAgingNoAnswer = "The machine stopped answering during the aging run.";
constexpr std::string_view kRunningNoAnswer =
    "The machine stopped answering. The procedure's result is unknown.";

constexpr std::string_view kStillRunningQuestion =
    "The machine is still running a procedure. Watch it until it ends? Stop cancels it.";
constexpr std::string_view kRunning = "Running";

constexpr std::size_t kLoadSectionCapacity = 256;
// The power of an axis whose section is missing, empty or has no "=".
constexpr std::uint16_t kDefaultLoadPower = 60;

// The power in percent from the section's text as read: the number after the
// first "=" of its first entry, taken as a decimal integer, in 16 bits.
std::uint16_t LoadPower(std::string_view section) {
    const std::string_view entry = section.substr(0, section.find('\0'));
    const std::size_t equals = entry.find('=');
    if (equals == std::string_view::npos) return kDefaultLoadPower;
    return static_cast<std::uint16_t>(ReadInteger(entry.substr(equals + 1)));
}

}  // namespace

void LoadChecks::CheckLoadX() {
    RunLoadCheck(kLoadX);
}
void LoadChecks::CheckLoadY() {
    RunLoadCheck(kLoadY);
}
void LoadChecks::CheckLoadZ() {
    RunLoadCheck(kLoadZ);
}
void LoadChecks::CheckLoadA() {
    RunLoadCheck(kLoadA);
}

void LoadChecks::RunLoadCheck(const LoadCheckAxis& axis) {
    if (!context.session.RequireOnline(context.reporter) ||
        !context.session.RequireReadyAtOrigin(context.reporter))
        return;
    const std::uint16_t power = LoadPower(context.services.settings.ReadSection(
        context.paths.settingsPath, axis.section, kLoadSectionCapacity));
    if (!context.link().StartLoadCheck(axis.code, &power)) {
        context.reporter.Error(kTextError);
        return;
    }
    WatchInProgressWindow(axis.caption, "Checking Load by " + std::to_string(power) + "% power...",
                          true, kLoadCheckNoAnswer);
}

void LoadChecks::StartAging() {
    if (!context.session.RequireOnline(context.reporter) ||
        !context.session.RequireReadyAtOrigin(context.reporter))
        return;
    // A run the machine refused is not watched as if it ran.
    if (!context.link().StartAging()) {
        context.reporter.Error(kTextError);
        return;
    }
    WatchInProgressWindow("Run Aging", kRunning, false, kAgingNoAnswer);
}

// Asked once the console is up; the console does not ask while a procedure
// of its own is under way (its window up, the polling paused).
void LoadChecks::OfferWatchOfRunning() {
    if (context.window == nullptr || !context.session.Connected()) return;
    const std::uint16_t status = context.link().GetStatusWord();
    if (status == kStatusNoAnswer || (status & kStatusStateMask) != kStateProcedureRunning ||
        (status & kStatusBusy) == 0) {
        return;
    }
    context.log.Run("Procedure found running", [this] {
        if (context.App().ShowMessageBox(kStillRunningQuestion, ui::kMbYesNo) != ui::kIdYes) return;
        WatchInProgressWindow(kRunning, kRunning, false, kRunningNoAnswer);
    });
}

void LoadChecks::WatchInProgressWindow(std::string_view caption, std::string_view statusText,
                                       bool endMessages, std::string_view noAnswerText) {
    std::unique_ptr<ProgressDialog> progress;
    PollingPause paused(context.polling);
    progress = ShowProgress(context.window, caption);
    if (progress) {
        progress->SetStatusText(statusText);
        WatchProcedure(*progress, endMessages, noAnswerText);
    } else {
        // Without the window nothing could stop the procedure: it is not
        // left running unwatched.
        context.link().CancelProcedure();
        context.reporter.Error(kTextError);
    }
    // The polling resumes first; the window goes last, the console enabled
    // again with it.
}

// Back to back, without a pause: one status read and one round of the
// message queue per pass.
void LoadChecks::WatchProcedure(ProgressDialog& progress, bool endMessages,
                                std::string_view noAnswerText) {
    for (;;) {
        const std::uint16_t status = context.link().GetStatusWord();
        if (status == kStatusNoAnswer) {
            context.reporter.Warning(noAnswerText);
            return;
        }
        if ((status & kStatusStateMask) != kStateProcedureRunning) {
            context.log.SetOutcome("ended by the machine, " + StatusText(status));
            return;
        }
        if (progress.CheckCancel()) {
            context.link().CancelProcedure();
            context.log.SetOutcome("stopped by the technician");
            return;
        }
        if ((status & kStatusBusy) != 0) continue;
        if (!endMessages) {
            context.log.SetOutcome("ended by the machine, " + StatusText(status));
            return;
        }
        if ((status & kStatusFailed) != 0) {
            context.reporter.Error(kTextFailed);
        } else {
            context.reporter.Completed(kTextCompleted);
        }
        return;
    }
}

}  // namespace hw
