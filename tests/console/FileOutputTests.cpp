// Output File: which file goes to the machine in which state, and which box
// answers when one does not; against a scripted machine and, for what
// reaches its flash, the simulated one.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "SimulatedConsoleParts.h"
#include "console/ScriptedConsole.h"

namespace hw {
namespace {

using test::Bytes;
using test::StatusReply;

std::string ReadError(const std::string& path) {
    return FileException(FileException::Cause::Generic, path).ErrorMessage();
}

// The boxes shown, a warning's text ending in '!', a question's starting
// with "? ".
std::vector<std::string> BoxTexts(const ui::HeadlessWindowSystem& windows) {
    std::vector<std::string> boxes;
    for (const auto& box : windows.Boxes()) {
        const bool warning = box.style == ui::kMbIconExclamation;
        const bool question = box.style == (ui::kMbOkCancel | ui::kMbDefButton2);
        EXPECT_TRUE(warning || question || box.style == ui::kMbIconHand || box.style == ui::kMbOk);
        boxes.push_back((question ? "? " : "") + box.text + (warning ? "!" : ""));
    }
    return boxes;
}

// The question before a firmware file goes to the simulated machine's queue.
std::string FirmwareQuestion(const std::string& name, std::size_t size,
                             const std::string& firmware = "") {
    return "? Send firmware " + name + " (" + std::to_string(size) +
           " bytes) to QMV-240 on USB001? The machine restarts when it has taken it." +
           (firmware.empty() ? "" : "\nIts firmware now: " + firmware);
}

constexpr const char* kNotBack =
    "The machine did not come back within 60 seconds after taking the firmware. Switch it off "
    "and on again, then reconnect it (unplug its USB cable and plug it in again).!";

class OutputFile : public test::ScriptedConsole {
  protected:
    // Chooses path (nullopt: cancels) and clicks Output File; the boxes shown.
    std::vector<std::string> Output(ConsoleDialog& console, std::optional<std::string> path,
                                    std::vector<Bytes> replies) {
        StartRecord();
        fake.spooler.jobs.clear();
        windows.QueueFileAnswer(std::move(path));
        Press(console, console_id::kOutputFile, std::move(replies));
        EXPECT_EQ(files.openFiles, 0);
        return BoxTexts(windows);
    }
};

TEST_F(OutputFile, SendsAFileOnlyToAMachineInTheStateItsKindNeeds) {
    const std::string image = "image\x01";
    const std::string queue = "The printer queue QMV-240 is ";
    const std::string kept = ": it would keep the file and send it later. Nothing was sent.!";
    const Bytes ready = StatusReply(0x0001), updateMode = StatusReply(0x8000), refused = {1};
    const std::string tooLarge =
        "C:\\big.qfw holds 16777217 bytes, more than the 16777216 bytes (16 MiB) a file sent to "
        "the machine may hold: nothing was sent.!";
    // A firmware file asked for and sent to this scripted machine, which
    // never restarts.
    const auto flashed = [](const char* name) {
        return std::vector<std::string>{FirmwareQuestion(name, 6), kNotBack};
    };
    struct Case {
        std::optional<std::string> path;
        std::vector<Bytes> replies;
        std::vector<std::string> boxes;
        QueueState queue = QueueState::Ready;
        bool sent = false;
    };
    const Case cases[] = {
        {"C:\\update.qfw", {updateMode}, flashed("update.qfw"), QueueState::Ready, true},
        {"C:\\update.qfw", {ready}, {"Set UpdateMode  !"}},
        {"C:\\testqfw", {updateMode}, flashed("testqfw"), QueueState::Ready, true},
        // Letter case does not count: firmware never goes to a ready machine.
        {"C:\\UPDATE.QFW", {ready}, {"Set UpdateMode  !"}},
        {"C:\\Update.Qfw", {updateMode}, flashed("Update.Qfw"), QueueState::Ready, true},
        {"C:\\cut.txt", {updateMode}, {"Hit [ENTER]    !"}},
        {"C:\\cut.txt", {ready}, {}, QueueState::Ready, true},
        {"C:\\update.qfw", {refused}, {"error"}},  // no status: the mode is unknown
        {"C:\\update.qfw", {updateMode}, {queue + "paused" + kept}, QueueState::Paused},
        {"C:\\update.qfw", {updateMode}, {queue + "offline" + kept}, QueueState::Offline},
        {"C:\\cut.txt", {ready}, {queue + "in error" + kept}, QueueState::Error},
        {std::nullopt, {}, {}},
        {"C:\\empty.qfw", {}, {"C:\\empty.qfw is empty: nothing was sent.!"}},
        {"C:\\big.qfw", {}, {tooLarge}},
        {"C:\\gone.qfw", {}, {ReadError("C:\\gone.qfw") + "!", "Cannot Open File!"}},
    };
    files.Put("C:\\empty.qfw", "");
    files.files["C:\\big.qfw"].resize(16 * 1024 * 1024 + 1);
    files.openFailures["C:\\gone.qfw"] = FileException::Cause::Generic;
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.path.value_or("cancelled"));
            if (c.path && !files.files.contains(*c.path)) files.Put(*c.path, image);
            fake.spooler.states["QMV-240"] = c.queue;
            EXPECT_EQ(Output(console, c.path, c.replies), c.boxes);
            EXPECT_EQ(SentRequests().size(), c.replies.size());
            std::vector<std::string> jobs;
            for (const auto& job : fake.spooler.jobs)
                jobs.emplace_back(job.data.begin(), job.data.end());
            EXPECT_EQ(jobs, std::vector<std::string>(c.sent ? 1 : 0, image));
        }
        const auto& dialog = windows.FileDialogs().back();
        // It opens in the folder of the file chosen last, the first time
        // where the system likes.
        EXPECT_EQ(windows.FileDialogs().front().options.initialFolder, "");
        EXPECT_EQ(dialog.options.initialFolder, "C:\\");
        EXPECT_EQ(dialog.options.flags, 6u);
        EXPECT_EQ(dialog.options.filter, "qfw (*.qfw)|*.qfw|all (*.*)|*.*||");
        // A queue whose state cannot be read, and a transfer that fails, are
        // not passed over in silence.
        fake.spooler.states.clear();
        for (auto* names : {&fake.spooler.unreadable, &fake.spooler.unopenable}) {
            names->insert("QMV-240");
            EXPECT_EQ(Output(console, "C:\\update.qfw", {updateMode}),
                      std::vector<std::string>{"error"});
            EXPECT_TRUE(fake.spooler.jobs.empty());
            names->clear();
        }
        fake.spooler.failingWrites = {fake.spooler.writeCalls};
        EXPECT_EQ(Output(console, "C:\\update.qfw", {updateMode}),
                  (std::vector<std::string>{FirmwareQuestion("update.qfw", 6), "error"}));
    });
}

// The file dialog and the boxes are owned by the console: while they are up
// the console is disabled, so no other procedure can start beneath them.
TEST_F(OutputFile, TheConsoleIsDisabledWhileItsFileDialogAndBoxesAreUp) {
    Run([&](ConsoleDialog& console) {
        const ui::WindowId window = console.window();
        int shown = 0;
        windows.OnFileDialog([&](const ui::HeadlessWindowSystem::FileDialogRecord& dialog) {
            ++shown;
            EXPECT_EQ(dialog.owner, window);
            EXPECT_FALSE(windows.windows.IsWindowEnabled(window));
            EXPECT_FALSE(windows.Click(window, console_id::kPutParameters));
            return std::optional<std::string>("C:\\gone.qfw");
        });
        windows.OnBox([&](const ui::HeadlessWindowSystem::BoxRecord&) {
            ++shown;
            EXPECT_FALSE(windows.windows.IsWindowEnabled(window));
            return ui::kIdOk;
        });
        Press(console, console_id::kOutputFile);
        EXPECT_EQ(shown, 3);  // the dialog, the file error and "Cannot Open File"
        EXPECT_EQ(windows.FileDialogs().size(), 1u);
        EXPECT_TRUE(windows.windows.IsWindowEnabled(window));
    });
}

// The console on the simulated machine in its update mode: only a firmware
// file read to its end, spooled to a queue that prints it, reaches the flash.
TEST(FileOutputOnTheMachine, OnlyAWholeFileToAReadyQueueReachesTheFlash) {
    constexpr const char* kImage = "C:\\update.qfw";
    struct Case {
        const char* what;
        std::optional<std::uint64_t> readFailsAfter;
        QueueState queue;
        std::vector<std::string> boxes;
        int flashed;
    };
    const Case cases[] = {
        {"read fails halfway",
         40000,
         QueueState::Ready,
         {ReadError(kImage) + "!", "Cannot Open File!"},
         0},
        {"queue paused",
         std::nullopt,
         QueueState::Paused,
         {"The printer queue QMV-240 is paused: it would keep the file and send it later. "
          "Nothing was sent.!"},
         0},
        {"read whole",
         std::nullopt,
         QueueState::Ready,
         {FirmwareQuestion("update.qfw", 70000, "QMV-240 V1.52 PNL-J"),
          "Completed\nFirmware before: QMV-240 V1.52 PNL-J\nFirmware now: QMV-240 V1.52 PNL-J"},
         1},
    };
    for (const Case& c : cases) {
        test::SimulatedConsoleParts parts;
        parts.files.files[kImage] = Bytes(70000, 0x5A);
        parts.files.readFailsAfter = c.readFailsAfter;
        parts.env.Spooler().SetQueueState(kSimQueueName, c.queue);
        parts.env.Machine().EnterUpdateMode();
        parts.windows.OnModal(console_id::kDialog, [&](ui::Dialog& console) {
            parts.windows.QueueFileAnswer(kImage);
            EXPECT_TRUE(parts.windows.Click(console.window(), console_id::kOutputFile));
        });
        ConsoleDialog console(parts.services);
        console.DoModal();
        EXPECT_EQ(BoxTexts(parts.windows), c.boxes) << c.what;
        EXPECT_EQ(parts.env.Machine().FirmwareUpdates(), c.flashed) << c.what;
        EXPECT_EQ(parts.env.Machine().Firmware().size(), c.flashed * 70000u) << c.what;
    }
}

}  // namespace
}  // namespace hw
