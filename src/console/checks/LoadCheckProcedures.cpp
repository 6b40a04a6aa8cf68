// The load checks of the four axes and the aging run: procedures the machine
// runs by itself once started, watched through its status word in the
// progress window until the machine reports the end, stops answering, or the
// technician presses Stop.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "console/ConsoleDialog.h"
#include "console/ConsoleIds.h"
#include "console/Messages.h"
#include "console/calibration/CalibrationMath.h"
#include "console/windows/ProgressDialog.h"

namespace hw {

// One axis's load check: the settings section that holds its power, the
// axis code the machine knows it by and the caption of its progress window.
struct LoadCheckAxis {
    const char* section;
    std::uint8_t code;
    const char* caption;
};

namespace {

// "status 0x6003", for the activity log.
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

void ConsoleDialog::OnCheckLoadX() {
    RunLoadCheck(kLoadX);
}
void ConsoleDialog::OnCheckLoadY() {
    RunLoadCheck(kLoadY);
}
void ConsoleDialog::OnCheckLoadZ() {
    RunLoadCheck(kLoadZ);
}
void ConsoleDialog::OnCheckLoadA() {
    RunLoadCheck(kLoadA);
}

void ConsoleDialog::RunLoadCheck(const LoadCheckAxis& axis) {
    if (!session.RequireOnline(reporter) || !session.RequireReadyAtOrigin(reporter)) return;
    const std::uint16_t power = LoadPower(
        services.settings.ReadSection(paths.settingsPath, axis.section, kLoadSectionCapacity));
    if (!session.Link().StartLoadCheck(axis.code, &power)) {
        reporter.Error(kTextError);
        return;
    }
    WatchInProgressWindow(axis.caption, "Checking Load by " + std::to_string(power) + "% power...",
                          true, kLoadCheckNoAnswer);
}

void ConsoleDialog::OnStartAging() {
    if (!session.RequireOnline(reporter) || !session.RequireReadyAtOrigin(reporter)) return;
    // A run the machine refused is not watched as if it ran.
    if (!session.Link().StartAging()) {
        reporter.Error(kTextError);
        return;
    }
    WatchInProgressWindow("Run Aging", kRunning, false, kAgingNoAnswer);
}

// Posted when the console connects, so that the question comes once the
// console is up. A procedure of the console that is under way (its window
// up, the polling paused) watches the machine itself.
std::intptr_t ConsoleDialog::OnConnected(const ui::Message&) {
    if (!session.Connected() || sensorPollingPaused || !IsWindowEnabled()) return 0;
    const std::uint16_t status = session.Link().GetStatusWord();
    if (status == kStatusNoAnswer || (status & kStatusStateMask) != kStateProcedureRunning ||
        (status & kStatusBusy) == 0) {
        return 0;
    }
    log.Run("Procedure found running", [this] {
        if (services.app.ShowMessageBox(kStillRunningQuestion, ui::kMbYesNo) != ui::kIdYes) return;
        WatchInProgressWindow(kRunning, kRunning, false, kRunningNoAnswer);
    });
    return 0;
}

void ConsoleDialog::WatchInProgressWindow(std::string_view caption, std::string_view statusText,
                                          bool endMessages, std::string_view noAnswerText) {
    Pause();
    ProgressDialog progress(services.app);
    if (progress.Create(*this, caption)) {
        progress.SetStatusText(statusText);
        WatchProcedure(progress, endMessages, noAnswerText);
    } else {
        // Without the window nothing could stop the procedure: it is not
        // left running unwatched.
        session.Link().CancelProcedure();
        reporter.Error(kTextError);
    }
    Resume();
    // The window goes last, the console enabled again with it.
}

// Back to back, without a pause: one status read and one round of the
// message queue per pass.
void ConsoleDialog::WatchProcedure(ProgressDialog& progress, bool endMessages,
                                   std::string_view noAnswerText) {
    for (;;) {
        const std::uint16_t status = session.Link().GetStatusWord();
        if (status == kStatusNoAnswer) {
            reporter.Warning(noAnswerText);
            return;
        }
        if ((status & kStatusStateMask) != kStateProcedureRunning) {
            log.SetOutcome("ended by the machine, " + StatusText(status));
            return;
        }
        if (progress.CheckCancel()) {
            session.Link().CancelProcedure();
            log.SetOutcome("stopped by the technician");
            return;
        }
        if ((status & kStatusBusy) != 0) continue;
        if (!endMessages) {
            log.SetOutcome("ended by the machine, " + StatusText(status));
            return;
        }
        if ((status & kStatusFailed) != 0) {
            reporter.Error(kTextFailed);
        } else {
            reporter.Completed(kTextCompleted);
        }
        return;
    }
}

}  // namespace hw
