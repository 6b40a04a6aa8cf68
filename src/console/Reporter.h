// How a procedure tells its end and asks its questions: the console shows
// boxes (BoxReporter), a command line prints text and sets its exit code
// from the same procedure code.
#pragma once

#include <cstdint>
#include <string_view>

namespace hw {

class Reporter {
  public:
    virtual ~Reporter() = default;
    // A procedure that failed or was refused: "OFFLINE", "error", "Failed".
    virtual void Error(std::string_view text) = 0;
    // A problem with the input or a precondition: "Hit [ENTER]    ", a bad
    // number, "Close the cover first.".
    virtual void Warning(std::string_view text) = 0;
    // A file that could not be read or written, or is of the wrong kind.
    virtual void FileProblem(std::string_view text) = 0;
    // Something worth knowing that is neither a failure nor the end.
    virtual void Information(std::string_view text) = 0;
    // The good end: "Completed", or a text that tells more of it.
    virtual void Completed(std::string_view text) = 0;
    // An end that did what it could, with something missing that the text
    // names: a bundle saved with parts left out.
    virtual void Incomplete(std::string_view text) = 0;
    // The step a long procedure has reached ("Reading the report..."), for
    // a reporter that shows it; the console shows its own progress windows.
    virtual void Progress(std::string_view step) { static_cast<void>(step); }
    // A question with the buttons and default of style (ui::kMbOkCancel,
    // ui::kMbYesNo, ui::kMbDefButton2...); returns the answer's id
    // (ui::kIdOk, ui::kIdCancel, ui::kIdYes, ui::kIdNo).
    virtual int Ask(std::string_view question, std::uint32_t style) = 0;
};

}  // namespace hw
