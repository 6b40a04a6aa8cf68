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
    TextReporter(TextOutput& out, TextOutput& err, bool yes) : out(out), err(err), yes(yes) {}

    void Error(std::string_view text) override;
    void Warning(std::string_view text) override;
    void FileProblem(std::string_view text) override;
    void Information(std::string_view text) override;
    void Completed(std::string_view text) override;
    // Not all of it went: told and failed as an error.
    void Incomplete(std::string_view text) override;
    int Ask(std::string_view question, std::uint32_t style) override;

    // A failure found by the command line itself.
    void Fail(int code, std::string_view text);
    // kExitDone, or the code of the first failure.
    int Exit() const { return exitCode; }

  private:
    TextOutput& out;
    TextOutput& err;
    bool yes;
    int exitCode = kExitDone;
};

}  // namespace hw::cli
