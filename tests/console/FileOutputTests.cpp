// Output File against a scripted machine: which files go to the machine in
// which state, and which box answers when one does not.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "console/ScriptedConsole.h"

namespace hw {
namespace {

using test::Bytes;

const std::string kImage = "firmware image\x01\x02";
constexpr std::uint16_t kReady = 0x0001;
constexpr std::uint16_t kUpdateMode = 0x8000;

Bytes StatusReply(std::uint16_t word) {
    return {0, 1, static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8)};
}

class FileOutput : public test::ScriptedConsole {
  protected:
    // Chooses path in the file dialog (nullopt: cancels it) and clicks
    // Output File with the machine's replies; the box texts shown.
    std::vector<std::string> Output(ConsoleDialog& console, std::optional<std::string> path,
                                    std::vector<Bytes> replies) {
        StartRecord();
        fake.spooler.jobs.clear();
        windows.QueueFileAnswer(std::move(path));
        Press(console, console_id::kOutputFile, std::move(replies));
        EXPECT_EQ(files.openFiles, 0);
        std::vector<std::string> texts;
        for (const auto& box : windows.Boxes()) {
            const bool stop = box.style == ui::kMbIconHand;
            EXPECT_TRUE(stop || box.style == ui::kMbIconExclamation) << box.style;
            texts.push_back(box.text + (stop ? " (stop)" : " (warning)"));
        }
        return texts;
    }

    bool SentWhole() const {
        return fake.spooler.jobs.size() == 1 && fake.spooler.jobs[0].documentName == "Updater" &&
               std::string(fake.spooler.jobs[0].data.begin(), fake.spooler.jobs[0].data.end()) ==
                   kImage;
    }
};

TEST_F(FileOutput, SendsEachKindOfFileOnlyInItsMachineState) {
    struct Case {
        const char* name;
        std::vector<Bytes> replies;
        std::vector<std::string> boxes;
        bool sent;
    };
    const Bytes refused = {1};
    const Case cases[] = {
        {"update.qfw", {StatusReply(kUpdateMode)}, {}, true},
        {"update.qfw", {StatusReply(kReady)}, {"Set UpdateMode   (warning)"}, false},
        {"testqfw", {StatusReply(kUpdateMode)}, {}, true},
        // Letter case counts: this is no firmware file.
        {"UPDATE.QFW", {StatusReply(kReady)}, {}, true},
        {"UPDATE.QFW", {StatusReply(kUpdateMode)}, {"Hit [ENTER]     (warning)"}, false},
        {"data.bin", {StatusReply(0)}, {"Hit [ENTER]     (warning)"}, false},
        // A status that did not come sends nothing to a machine in an unknown mode.
        {"update.qfw", {refused}, {"error (stop)"}, false},
        {"data.bin", {refused}, {"error (stop)"}, false},
    };
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            const std::string path = std::string("C:\\Files\\") + c.name;
            files.Put(path, kImage);
            EXPECT_EQ(Output(console, path, c.replies), c.boxes);
            EXPECT_EQ(SentWhole(), c.sent);
            EXPECT_EQ(fake.spooler.jobs.empty(), !c.sent);
        }
        const auto& dialog = windows.FileDialogs().back();
        EXPECT_TRUE(dialog.options.open);
        EXPECT_EQ(dialog.options.flags, 6u);
        EXPECT_EQ(dialog.options.filter, "qfw (*.qfw)|*.qfw|all (*.*)|*.*||");
        EXPECT_EQ(dialog.owner, ui::kNoWindow);
    });
}

TEST_F(FileOutput, ReportsWhatKeptTheFileFromTheMachine) {
    const std::string missing = "C:\\Files\\gone.qfw";
    const std::string present = "C:\\Files\\update.qfw";
    files.Put(present, kImage);
    files.openFailures[missing] = FileException::Cause::FileNotFound;
    Run([&](ConsoleDialog& console) {
        // Cancelled: nothing asked, nothing shown.
        EXPECT_TRUE(Output(console, std::nullopt, {}).empty());
        EXPECT_TRUE(SentRequests().empty());

        const std::string notFound =
            FileException(FileException::Cause::FileNotFound, missing).ErrorMessage();
        EXPECT_EQ(
            Output(console, missing, {}),
            (std::vector<std::string>{notFound + " (warning)", "Cannot Open File (warning)"}));
        EXPECT_TRUE(SentRequests().empty());

        // A transfer that fails is not passed over in silence.
        fake.spooler.unopenable.insert("QMV-240");
        EXPECT_EQ(Output(console, present, {StatusReply(kUpdateMode)}),
                  std::vector<std::string>{"error (stop)"});
    });
}

}  // namespace
}  // namespace hw
