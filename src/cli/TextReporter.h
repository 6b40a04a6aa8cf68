// The command line's reporter: what the console shows in boxes goes to the
// standard streams as text, and the first failure decides the exit code.
// Nobody is there to answer a question: --yes confirms a write (an OK/Cancel
// question); every other question takes its default answer.
#pragma once

#include <string>
#include "cli/TextOutput.h"

#include "console/Reporter.h"

namespace hw::cli {

enum ExitCode {
    kExitDone = 0,
    kExitFailed = 1,
    kExitUsage = 2,
    kExitNoMachine = 3,
    kExitFileError = 4,
    kExitNotConfirmed = 5,
};

// The console's text as one line for a script: line breaks made blanks,
// the trailing blanks dropped, the console's prompts told in words.
std::string OneLine(std::string_view text);

class TextReporter final : public Reporter {
  public:
    // progress: where the steps of a long procedure are shown, each over the
    // last on one line (a terminal); null: not shown.
    TextReporter(TextOutput& out, TextOutput& err, bool yes, TextOutput* progress = nullptr)
        : out(out), err(err), progress(progress), yes(yes) {}

    void Error(std::string_view text) override;
    void Warning(std::string_view text) override;
    void FileProblem(std::string_view text) override;
    void Information(std::string_view text) override;
    void Completed(std::string_view text) override;
    // Not all of it went: told and failed as an error.
    void Incomplete(std::string_view text) override;
    int Ask(std::string_view question, std::uint32_t style) override;
    void Progress(std::string_view step) override;

    // A failure found by the command line itself.
    void Fail(int code, std::string_view text);
    // kExitDone, or the code of the first failure.
    int Exit() const { return exitCode; }

  private:
    // Blanks out the step shown, before any other text.
    void ClearProgress();

    TextOutput& out;
    TextOutput& err;
    TextOutput* progress;
    std::size_t shownStep = 0;
    bool yes;
    int exitCode = kExitDone;
};

}  // namespace hw::cli
