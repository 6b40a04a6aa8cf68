// A reporter that keeps what a procedure told it, in order, as a command
// line would print it, and answers each question with the answer queued
// for it (ui::kIdOk when none is).
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "console/Reporter.h"
#include "ui/Types.h"

namespace hw::test {

class RecordingReporter final : public Reporter {
  public:
    void Error(std::string_view text) override { Note("error", text); }
    void Warning(std::string_view text) override { Note("warning", text); }
    void FileProblem(std::string_view text) override { Note("file problem", text); }
    void Information(std::string_view text) override { Note("information", text); }
    void Completed(std::string_view text) override { Note("completed", text); }
    void Incomplete(std::string_view text) override { Note("incomplete", text); }
    int Ask(std::string_view question, std::uint32_t) override {
        Note("question", question);
        if (answers.empty()) return ui::kIdOk;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // "kind: text" for each report, in order.
    std::vector<std::string> told;
    std::deque<int> answers;

  private:
    void Note(std::string_view kind, std::string_view text) {
        told.push_back(std::string(kind) + ": " + std::string(text));
    }
};

}  // namespace hw::test
