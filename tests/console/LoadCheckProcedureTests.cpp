// The load checks and the aging run against a scripted machine: the power
// from the settings, what is sent, the watch in the progress window and how
// it ends.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "console/ProgressDialog.h"
#include "console/ScriptedConsole.h"

namespace hw {
namespace {

namespace id = console_id;
using test::Bytes;
using Box = std::pair<std::string, std::uint32_t>;
using Timers = std::vector<ui::HeadlessWindowSystem::TimerState>;

constexpr int kStatusCommand = 1;
constexpr int kCancelCommand = 8;
constexpr int kLoadCheckCommand = 113;
constexpr int kAgingCommand = 114;
const Timers kSensorTimer = {{kSensorTimerEvent, kSensorTimerMs}};
const Box kCompleted{"Completed", ui::kMbOk};
const Box kFailed{"Failed", ui::kMbIconHand};
const Box kError{"error", ui::kMbIconHand};
const Bytes kOk = {0};
const Bytes kRefused = {1};

Bytes Status(std::uint16_t word) {
    return {0, 1, static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8)};
}

// The replies of a start that the machine takes: ready at the origin, started.
std::vector<Bytes> Started(std::vector<Bytes> watch) {
    watch.insert(watch.begin(), {Status(0x0001), kOk});
    return watch;
}

class LoadCheckProcedures : public test::ScriptedConsole {
  protected:
    // What the progress window and the console showed when a box came up.
    struct AtBox {
        std::string caption;
        std::string status;
        bool consoleEnabled = true;
    };

    void Click(ConsoleDialog& console, int button, std::vector<Bytes> replies) {
        StartRecord();
        atBox.clear();
        windows.OnBox([&](const ui::HeadlessWindowSystem::BoxRecord&) {
            const ui::Dialog* progress = windows.FindDialog(progress_id::kDialog);
            if (progress != nullptr) {
                atBox.push_back({progress->Title(), progress->ItemText(progress_id::kStatusText),
                                 console.IsWindowEnabled()});
            }
            return ui::kIdOk;
        });
        Press(console, button, std::move(replies));
    }

    std::vector<Box> Boxes() const {
        std::vector<Box> boxes;
        for (const auto& box : windows.Boxes()) boxes.emplace_back(box.text, box.style);
        return boxes;
    }

    std::vector<int> Commands() const {
        std::vector<int> commands;
        for (const test::Sent& sent : SentRequests()) commands.push_back(sent.command);
        return commands;
    }

    // The console after a procedure: enabled, polling, no progress window.
    void ExpectIdle(const ConsoleDialog& console) const {
        EXPECT_TRUE(console.IsWindowEnabled());
        EXPECT_EQ(windows.ActiveTimers(console.window()), kSensorTimer);
        EXPECT_EQ(windows.FindDialog(progress_id::kDialog), nullptr);
    }

    std::vector<AtBox> atBox;
};

TEST_F(LoadCheckProcedures, PowerAxisAndCaptionOfEachCheck) {
    struct Case {
        int button;
        const char* section;
        std::string text;  // the section as read; empty: missing
        std::uint8_t axisCode;
        std::uint16_t power;
        const char* caption;
    };
    const Case cases[] = {
        {id::kCheckLoadX, "CheckLoadX", std::string("Power=75\0Other=9", 16), 1, 75,
         "Check Load X"},
        {id::kCheckLoadY, "CheckLoadY", "", 2, 60, "Check Load Y"},
        {id::kCheckLoadZ, "CheckLoadZ", "P=abc", 4, 0, "Check Load Z"},
        {id::kCheckLoadA, "CheckLoadA", "P=-1", 3, 65535, "Check Load A"},
        {id::kCheckLoadX, "CheckLoadX", std::string("no equals\0P=20", 14), 1, 60, "Check Load X"},
        {id::kCheckLoadY, "CheckLoadY", "P=70000x", 2, 4464, "Check Load Y"},
    };
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.caption + (" " + c.text));
            settings.sections.clear();
            if (!c.text.empty()) settings.sections[c.section] = c.text;
            Click(console, c.button, Started({Status(0x0001)}));
            EXPECT_EQ(settings.reads.back().section, c.section);
            EXPECT_EQ(settings.reads.back().capacity, 256u);
            const auto sent = SentRequests();
            ASSERT_EQ(sent.size(), 3u);
            EXPECT_EQ(sent[1].command, kLoadCheckCommand);
            EXPECT_EQ(sent[1].payload[3], c.axisCode);
            EXPECT_EQ(sent[1].payload[4] | sent[1].payload[5] << 8, c.power);
            ASSERT_EQ(Boxes(), std::vector<Box>{kCompleted});
            ASSERT_EQ(atBox.size(), 1u);
            EXPECT_EQ(atBox[0].caption, c.caption);
            EXPECT_EQ(atBox[0].status,
                      "Checking Load by " + std::to_string(c.power) + "% power...");
        }
        EXPECT_EQ(settings.reads.back().path, "C:\\Tools\\Hexwarden.INI");
    });
}

// The watch goes on while the machine runs the procedure (state 1, busy)
// and ends at the first status word that says otherwise.
TEST_F(LoadCheckProcedures, TheWatchEndsAsTheStatusWordSays) {
    struct Case {
        const char* what;
        int button;
        std::vector<Bytes> watch;
        std::vector<Box> boxes;
    };
    const Case cases[] = {
        {"passed", id::kCheckLoadX, {Status(0x4001), Status(0x4001), Status(0x0001)}, {kCompleted}},
        {"failed", id::kCheckLoadZ, {Status(0x4001), Status(0x2001)}, {kFailed}},
        {"no answer", id::kCheckLoadY, {Status(0x4001), kRefused}, {}},
        {"error state", id::kCheckLoadA, {Status(0x4001), Status(0x6003)}, {}},
        {"aging failed", id::kStartAging, {Status(0x4001), Status(0x2001)}, {}},
        {"aging ended", id::kStartAging, {Status(0x0001)}, {}},
    };
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            Click(console, c.button, Started(c.watch));
            EXPECT_EQ(Boxes(), c.boxes);
            // The end message comes while the window is still up over the
            // disabled console.
            for (const AtBox& seen : atBox) EXPECT_FALSE(seen.consoleEnabled);
            EXPECT_TRUE(fake.device.replies.empty());
            const int start = c.button == id::kStartAging ? kAgingCommand : kLoadCheckCommand;
            std::vector<int> expected = {kStatusCommand, start};
            expected.insert(expected.end(), c.watch.size(), kStatusCommand);
            EXPECT_EQ(Commands(), expected);
            ExpectIdle(console);
        }
    });
}

TEST_F(LoadCheckProcedures, NothingIsWatchedWithoutAStartedProcedure) {
    struct Case {
        int button;
        std::vector<Bytes> replies;
        Box box;
        std::vector<int> commands;
    };
    const Case cases[] = {
        {id::kCheckLoadX, {Status(0x4000)}, {"Hit [ENTER]    ", ui::kMbIconExclamation}, {1}},
        {id::kCheckLoadX, {kRefused}, kError, {1}},
        {id::kCheckLoadX, {Status(0x0001), kRefused}, kError, {1, kLoadCheckCommand}},
        {id::kStartAging, {kRefused}, kError, {1}},
        {id::kStartAging, {Status(0x0001), kRefused}, kError, {1, kAgingCommand}},
    };
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            const int kills = windows.KillTimerCalls(console.window());
            Click(console, c.button, c.replies);
            EXPECT_EQ(Boxes(), std::vector<Box>{c.box});
            EXPECT_EQ(Commands(), c.commands);
            // The sensor polling never stopped.
            EXPECT_EQ(windows.KillTimerCalls(console.window()), kills);
        }
    });
}

// Enter leaves the window up; Stop or Esc ends the watch at its next pass
// with one cancel and no message, though the machine had just finished.
TEST_F(LoadCheckProcedures, StopCancelsOnceAndShowsNothing) {
    for (const int button : {id::kCheckLoadX, id::kStartAging}) {
        int pumps = 0;
        windows.OnPump([&] {
            ui::Dialog* progress = windows.FindDialog(progress_id::kDialog);
            ASSERT_NE(progress, nullptr);
            if (++pumps == 1) {
                windows.PressEnter(progress->window());
                EXPECT_TRUE(windows.IsUp(progress->window()));
            } else if (button == id::kStartAging) {
                windows.PressEscape(progress->window());
            } else {
                ASSERT_TRUE(windows.Click(progress->window(), progress_id::kStop));
            }
        });
        Run([&](ConsoleDialog& console) {
            Click(console, button, Started({Status(0x4001), Status(0x0001), kOk}));
            EXPECT_EQ(pumps, 2);
            EXPECT_TRUE(Boxes().empty());
            const auto sent = SentRequests();
            ASSERT_EQ(sent.size(), 5u);
            EXPECT_EQ(sent[4].command, kCancelCommand);
            EXPECT_EQ(sent[4].payload[2], 2);
            ExpectIdle(console);
        });
    }
}

// Without its window a started procedure is cancelled rather than left
// running unwatched.
TEST_F(LoadCheckProcedures, AProgressWindowThatCannotOpenCancelsTheProcedure) {
    Run([&](ConsoleDialog& console) {
        for (const int button : {id::kCheckLoadZ, id::kStartAging}) {
            windows.FailNextCreate(progress_id::kDialog);
            Click(console, button, Started({kOk}));
            EXPECT_EQ(Boxes(), std::vector<Box>{kError});
            ASSERT_EQ(Commands().size(), 3u);
            EXPECT_EQ(Commands()[2], kCancelCommand);
            ExpectIdle(console);
        }
    });
}

TEST_F(LoadCheckProcedures, ProgressWindowLeavesAnOwnerItDidNotDisableAndClearsStop) {
    Run([&](ConsoleDialog& console) {
        console.EnableWindow(false);
        {
            ProgressDialog progress(app);
            ASSERT_TRUE(progress.Create(console, "Bundle"));
            EXPECT_EQ(progress.Title(), "Bundle");
            EXPECT_FALSE(windows.Item(progress.window(), progress_id::kBar).visible);
            ASSERT_TRUE(windows.Click(progress.window(), progress_id::kStop));
            EXPECT_TRUE(progress.CheckCancel());
            EXPECT_FALSE(progress.CheckCancel());
        }
        EXPECT_FALSE(console.IsWindowEnabled());
        console.EnableWindow(true);
    });
}

}  // namespace
}  // namespace hw
