// Output File against a scripted machine: which file goes to the machine in
// which state, and which box answers when one does not.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "console/ScriptedConsole.h"

namespace hw {
namespace {

using test::Bytes;

Bytes Status(std::uint16_t word) {
    return {0, 1, static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8)};
}

class FileOutput : public test::ScriptedConsole {
  protected:
    // Chooses path (nullopt: cancels) and clicks Output File; the boxes
    // shown, a warning's text ending in '!'.
    std::vector<std::string> Output(ConsoleDialog& console, std::optional<std::string> path,
                                    std::vector<Bytes> replies) {
        StartRecord();
        fake.spooler.jobs.clear();
        windows.QueueFileAnswer(std::move(path));
        Press(console, console_id::kOutputFile, std::move(replies));
        EXPECT_EQ(files.openFiles, 0);
        std::vector<std::string> boxes;
        for (const auto& box : windows.Boxes()) {
            const bool warning = box.style == ui::kMbIconExclamation;
            EXPECT_TRUE(warning || box.style == ui::kMbIconHand);
            boxes.push_back(box.text + (warning ? "!" : ""));
        }
        return boxes;
    }
};

TEST_F(FileOutput, SendsAFileOnlyToAMachineInTheStateItsKindNeeds) {
    const std::string image = "image\x01";
    const std::string notFound =
        FileException(FileException::Cause::FileNotFound, "C:\\gone.qfw").ErrorMessage();
    const Bytes ready = Status(0x0001), updateMode = Status(0x8000), refused = {1};
    struct Case {
        std::optional<std::string> path;
        std::vector<Bytes> replies;
        std::vector<std::string> boxes;
    };
    const Case cases[] = {
        {"C:\\update.qfw", {updateMode}, {}},
        {"C:\\update.qfw", {ready}, {"Set UpdateMode  !"}},
        {"C:\\testqfw", {updateMode}, {}},
        {"C:\\UPDATE.QFW", {ready}, {}},  // letter case counts: no firmware file
        {"C:\\UPDATE.QFW", {updateMode}, {"Hit [ENTER]    !"}},
        {"C:\\update.qfw", {refused}, {"error"}},  // no status: the mode is unknown
        {std::nullopt, {}, {}},
        {"C:\\gone.qfw", {}, {notFound + "!", "Cannot Open File!"}},
    };
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.path.value_or("cancelled"));
            if (c.path && *c.path != "C:\\gone.qfw") files.Put(*c.path, image);
            EXPECT_EQ(Output(console, c.path, c.replies), c.boxes);
            EXPECT_EQ(SentRequests().size(), c.replies.size());
            std::vector<std::string> jobs;
            for (const auto& job : fake.spooler.jobs)
                jobs.emplace_back(job.data.begin(), job.data.end());
            EXPECT_EQ(jobs, std::vector<std::string>(c.boxes.empty() && c.path ? 1 : 0, image));
        }
        const auto& dialog = windows.FileDialogs().back();
        EXPECT_EQ(dialog.options.flags, 6u);
        EXPECT_EQ(dialog.options.filter, "qfw (*.qfw)|*.qfw|all (*.*)|*.*||");
        EXPECT_EQ(dialog.owner, ui::kNoWindow);
        // A transfer that fails is not passed over in silence.
        fake.spooler.unopenable.insert("QMV-240");
        EXPECT_EQ(Output(console, "C:\\update.qfw", {updateMode}),
                  std::vector<std::string>{"error"});
    });
}

}  // namespace
}  // namespace hw
