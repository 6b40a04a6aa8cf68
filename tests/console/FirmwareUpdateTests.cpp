// A firmware update on the simulated machine, end to end through the
// console: the question first, the progress window while the image goes
// out, and the machine's restart proven (or found missing) after it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "SimulatedConsoleParts.h"
#include "console/ConsoleDialog.h"
#include "console/ConsoleIds.h"
#include "console/windows/ProgressDialog.h"

namespace hw {
namespace {

constexpr const char* kImage = "C:\\update.qfw";
constexpr const char* kSaved = "C:\\before.par";
constexpr std::size_t kImageSize = 70000;
constexpr const char* kOldFirmware = "QMV-240 V1.52 PNL-J";
constexpr const char* kNewFirmware = "QMV-240 V1.60 PNL-J";

// What the progress window showed, each text once, and whether its Stop was
// ever enabled while it was up.
struct ProgressSeen {
    std::vector<std::string> texts;
    bool stopEnabled = false;

    void Look(const ui::HeadlessWindowSystem& windows) {
        const ui::Dialog* progress = windows.FindDialog(progress_id::kDialog);
        if (progress == nullptr) return;
        const std::string& text = windows.Item(progress->window(), progress_id::kStatusText).text;
        if (texts.empty() || texts.back() != text) texts.push_back(text);
        stopEnabled = stopEnabled || windows.Item(progress->window(), progress_id::kStop).enabled;
    }
};

struct Update {
    std::vector<std::string> boxes;  // after Get Parameters, when it ran
    ProgressSeen progress;
    int flashed = 0;
};

struct UpdateSetup {
    int answer = ui::kIdOk;
    bool savedFirst = false;
    bool loseBlock = false;
    bool staysAway = false;
};

// Connects the console to the machine in its update mode, saves the block
// with Get Parameters when asked, and sends the image with Output File.
Update RunUpdate(test::SimulatedConsoleParts& parts, const UpdateSetup& setup) {
    std::string image = std::string("version=") + kNewFirmware + "\r\n";
    image.resize(kImageSize, 'x');
    parts.files.Put(kImage, image);
    parts.env.Machine().EnterUpdateMode();
    parts.env.Faults().loseBlockAtUpdate = setup.loseBlock;
    parts.env.Faults().staysAwayAfterUpdate = setup.staysAway;
    Update update;
    parts.windows.OnPump([&] { update.progress.Look(parts.windows); });
    parts.windows.OnModal(console_id::kDialog, [&](ui::Dialog& console) {
        if (setup.savedFirst) {
            parts.windows.QueueFileAnswer(kSaved);
            EXPECT_TRUE(parts.windows.Click(console.window(), console_id::kGetParameters));
        }
        const std::size_t before = parts.windows.Boxes().size();
        parts.windows.QueueBoxAnswer(setup.answer);
        parts.windows.QueueFileAnswer(kImage);
        EXPECT_TRUE(parts.windows.Click(console.window(), console_id::kOutputFile));
        for (std::size_t i = before; i < parts.windows.Boxes().size(); ++i)
            update.boxes.push_back(parts.windows.Boxes()[i].text);
    });
    ConsoleDialog console(parts.services);
    console.DoModal();
    update.flashed = parts.env.Machine().FirmwareUpdates();
    return update;
}

TEST(FirmwareUpdate, IsConfirmedShownAndItsRestartProven) {
    const std::string question =
        "Send firmware update.qfw (70000 bytes) to QMV-240 on USB001? "
        "The machine restarts when it has taken it.\nIts firmware now: " +
        std::string(kOldFirmware);
    const std::string completed = std::string("Completed\nFirmware before: ") + kOldFirmware +
                                  "\nFirmware now: " + kNewFirmware;
    const std::string notBack =
        "The machine did not come back within 60 seconds after taking the firmware. Switch it "
        "off and on again, then reconnect it (unplug its USB cable and plug it in again).";
    // The machine's block, every byte of it, against the erased one.
    const std::vector<std::uint8_t> block =
        test::SimulatedConsoleParts().env.Machine().Parameters().Block();
    const auto lost = std::count_if(block.begin(), block.end(), [](auto b) { return b != 0xFF; });
    struct Case {
        const char* what;
        UpdateSetup setup;
        std::vector<std::string> boxes;
        int flashed;
    };
    const Case cases[] = {
        {"cancelled", {ui::kIdCancel}, {question}, 0},
        {"restarted", {}, {question, completed}, 1},
        {"never back", {ui::kIdOk, false, false, true}, {question, notBack}, 1},
        {"block kept", {ui::kIdOk, true}, {question, completed + "\nparameter block unchanged"}, 1},
        {"block lost",
         {ui::kIdOk, true, true},
         {question, completed + "\n" + std::to_string(lost) + " bytes differ from " + kSaved +
                        ": Put Parameters can restore it"},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::SimulatedConsoleParts parts;
        const Update update = RunUpdate(parts, c.setup);
        EXPECT_EQ(update.boxes, c.boxes);
        EXPECT_EQ(update.flashed, c.flashed);
        EXPECT_FALSE(update.progress.stopEnabled);
    }
}

TEST(FirmwareUpdate, ShowsEachPieceThenTheWaitForTheRestart) {
    test::SimulatedConsoleParts parts;
    const Update update = RunUpdate(parts, {});
    EXPECT_EQ(update.progress.texts,
              (std::vector<std::string>{
                  "Sending update.qfw: 0 of 69 KB", "Sending update.qfw: 32 of 69 KB",
                  "Sending update.qfw: 64 of 69 KB", "Sending update.qfw: 69 of 69 KB",
                  "Waiting for the machine to restart..."}));
}

// Any other file can be stopped while it goes out: its job is aborted and
// the machine takes nothing of it.
TEST(FileOutputProgress, StopAbortsTheJobOfAnotherFile) {
    test::SimulatedConsoleParts parts;
    parts.files.Put("C:\\cut.txt", std::string(kImageSize, ' '));
    std::vector<std::string> boxes;
    parts.windows.OnPump([&] {
        if (const ui::Dialog* progress = parts.windows.FindDialog(progress_id::kDialog))
            parts.windows.Click(progress->window(), progress_id::kStop);
    });
    parts.windows.OnModal(console_id::kDialog, [&](ui::Dialog& console) {
        parts.windows.QueueFileAnswer("C:\\cut.txt");
        EXPECT_TRUE(parts.windows.Click(console.window(), console_id::kOutputFile));
        for (const auto& box : parts.windows.Boxes()) boxes.push_back(box.text);
    });
    ConsoleDialog console(parts.services);
    console.DoModal();
    EXPECT_EQ(boxes, std::vector<std::string>{"Stopped: the print job of cut.txt was aborted."});
    EXPECT_EQ(parts.env.Machine().LastReceipt().kind, SimReceipt::Kind::None);
    EXPECT_EQ(parts.env.Spooler().AbortedJobs(), 1u);
}

}  // namespace
}  // namespace hw
