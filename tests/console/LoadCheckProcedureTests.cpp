// The load checks and the aging run against a scripted machine: the power
// from the settings, what is sent, the watch in the progress window and how
// it ends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/ScriptedConsole.h"
#include "console/windows/ProgressDialog.h"

namespace hw {
namespace {

using test::Bytes;
using test::kRefused;
using test::StatusReply;

constexpr int kLoadCheck = 113;
constexpr int kAging = 114;
const Bytes kOk = {0};
class LoadCheckProcedures : public test::ScriptedConsole {
  protected:
    // Clicks button; each box is recorded as "text/style", and the progress
    // window up at that moment as "caption: status text".
    void Click(ConsoleDialog& console, int button, std::vector<Bytes> replies) {
        StartRecord();
        shown.clear();
        under.clear();
        windows.OnBox([&](const ui::HeadlessWindowSystem::BoxRecord& box) {
            shown.push_back(box.text + "/" + std::to_string(box.style));
            if (const ui::Dialog* progress = windows.FindDialog(progress_id::kDialog)) {
                under.push_back(progress->Title() + ": " +
                                progress->ItemText(progress_id::kStatusText));
            }
            return ui::kIdOk;
        });
        Press(console, button, std::move(replies));
        EXPECT_TRUE(fake.device.replies.empty());
        // Whatever happened, the console is left as it was found.
        EXPECT_TRUE(console.IsWindowEnabled());
        EXPECT_EQ(windows.ActiveTimers(console.window()).size(), 1u);
        EXPECT_EQ(windows.FindDialog(progress_id::kDialog), nullptr);
    }

    std::vector<int> Commands() const {
        std::vector<int> commands;
        for (const test::Sent& sent : SentRequests()) commands.push_back(sent.command);
        return commands;
    }

    std::vector<std::string> shown;
    std::vector<std::string> under;
};

TEST_F(LoadCheckProcedures, EachCheckSendsItsAxisAndThePowerFromTheSettings) {
    struct Case {
        int button;
        const char* section;
        std::string text;  // the section as read
        int axisCode;
        int power;
    };
    const Case cases[] = {
        {console_id::kCheckLoadX, "CheckLoadX", std::string("Power=75\0Other=9", 16), 1, 75},
        {console_id::kCheckLoadY, "CheckLoadY", "", 2, 60},
        {console_id::kCheckLoadZ, "CheckLoadZ", "P=abc", 4, 0},
        {console_id::kCheckLoadA, "CheckLoadA", "P=-1", 3, 65535},
        {console_id::kCheckLoadX, "CheckLoadX", std::string("no equals\0P=20", 14), 1, 60},
        {console_id::kCheckLoadY, "CheckLoadY", "P=70000x", 2, 4464},
    };
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            settings.sections = {{c.section, c.text}};
            Click(console, c.button, {StatusReply(0x0001), kOk, StatusReply(0x0001)});
            EXPECT_EQ(settings.reads.back().capacity, 256u);
            const auto sent = SentRequests();
            ASSERT_EQ(sent.size(), 3u);
            EXPECT_EQ(sent[1].payload[3], c.axisCode);
            EXPECT_EQ(sent[1].payload[4] | sent[1].payload[5] << 8, c.power);
            const std::string caption = std::string("Check Load ") + c.section[9];
            EXPECT_EQ(shown, std::vector<std::string>{"Completed/0"});
            EXPECT_EQ(under, std::vector<std::string>{caption + ": Checking Load by " +
                                                      std::to_string(c.power) + "% power..."});
        }
    });
}

// The watch goes on while the machine runs the procedure (state 1, busy);
// nothing is watched that did not start, and nothing started is left running
// without its window.
TEST_F(LoadCheckProcedures, HowAProcedureEnds) {
    struct Case {
        int button;
        std::vector<Bytes> replies;
        std::vector<std::string> shown;
        std::vector<int> commands;
        bool windowFails = false;
    };
    const Bytes busy = StatusReply(0x4001);
    const Case cases[] = {
        {console_id::kCheckLoadX,
         {StatusReply(1), kOk, busy, busy, StatusReply(1)},
         {"Completed/0"},
         {1, kLoadCheck, 1, 1, 1}},
        {console_id::kCheckLoadZ,
         {StatusReply(1), kOk, busy, StatusReply(0x2001)},
         {"Failed/16"},
         {1, kLoadCheck, 1, 1}},
        {console_id::kCheckLoadY,
         {StatusReply(1), kOk, busy, kRefused},
         {"The machine stopped answering. The load check's result is unknown./48"},
         {1, kLoadCheck, 1, 1}},
        {console_id::kStartAging,
         {StatusReply(1), kOk, kRefused},
         {"The machine stopped answering during the aging run./48"},
         {1, kAging, 1}},
        {console_id::kCheckLoadA,
         {StatusReply(1), kOk, StatusReply(0x6003)},
         {},
         {1, kLoadCheck, 1}},
        {console_id::kStartAging,
         {StatusReply(1), kOk, busy, StatusReply(0x2001)},
         {},
         {1, kAging, 1, 1}},
        {console_id::kCheckLoadX, {StatusReply(0x4000)}, {"Hit [ENTER]    /48"}, {1}},
        {console_id::kCheckLoadX, {kRefused}, {"error/16"}, {1}},
        {console_id::kCheckLoadX, {StatusReply(1), kRefused}, {"error/16"}, {1, kLoadCheck}},
        {console_id::kStartAging, {StatusReply(1), kRefused}, {"error/16"}, {1, kAging}},
        {console_id::kCheckLoadZ,
         {StatusReply(1), kOk, kOk},
         {"error/16"},
         {1, kLoadCheck, 8},
         true},
        {console_id::kStartAging, {StatusReply(1), kOk, kOk}, {"error/16"}, {1, kAging, 8}, true},
    };
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            if (c.windowFails) windows.FailNextCreate(progress_id::kDialog);
            Click(console, c.button, c.replies);
            EXPECT_EQ(shown, c.shown);
            EXPECT_EQ(Commands(), c.commands);
        }
    });
}

// Enter leaves the window up; Stop or Esc ends the watch at its next pass
// with one cancel and no message, though the machine had just finished.
TEST_F(LoadCheckProcedures, StopCancelsOnceAndShowsNothing) {
    for (const int button : {console_id::kCheckLoadX, console_id::kStartAging}) {
        int pumps = 0;
        windows.OnPump([&] {
            const ui::WindowId progress = windows.FindDialog(progress_id::kDialog)->window();
            if (++pumps == 1) return windows.PressEnter(progress);
            if (button == console_id::kStartAging) return windows.PressEscape(progress);
            windows.Click(progress, progress_id::kStop);
        });
        Run([&](ConsoleDialog& console) {
            Click(console, button, {StatusReply(1), kOk, StatusReply(0x4001), StatusReply(1), kOk});
            EXPECT_EQ(pumps, 2);
            EXPECT_TRUE(shown.empty());
            ASSERT_EQ(Commands().size(), 5u);
            EXPECT_EQ(SentRequests()[4].command, 8);
            EXPECT_EQ(SentRequests()[4].payload[2], 2);
        });
    }
}

// A procedure found running when the console connects, at start-up or when
// the machine comes back: the technician may watch it in the "Running"
// window, and Stop cancels it; nothing is asked while a watch is under way
// or when the machine is idle.
TEST_F(LoadCheckProcedures, AProcedureFoundRunningOnConnectCanBeWatchedAndStopped) {
    const std::string question =
        "The machine is still running a procedure. Watch it until it ends? Stop cancels it./4";
    struct Case {
        bool replugged;
        int answer;
        bool stop;
        std::vector<Bytes> replies;
        std::vector<std::string> shown;
        std::vector<int> commands;
        bool watched;  // the window was up when the watch served it
    };
    const Bytes busy = StatusReply(0x4001);
    const Case cases[] = {
        {false, ui::kIdYes, false, {busy, busy, StatusReply(1)}, {question}, {1, 1, 1}, true},
        {true, ui::kIdYes, true, {busy, busy, kOk}, {question}, {1, 1, 8}, true},
        {false, ui::kIdNo, false, {busy}, {question}, {1}, false},
        {true, ui::kIdYes, false, {StatusReply(0x0001)}, {}, {1}, false},
        {false, ui::kIdYes, false, {StatusReply(0x2003)}, {}, {1}, false},
        {true,
         ui::kIdYes,
         false,
         {busy, kRefused},
         {question, "The machine stopped answering. The procedure's result is unknown./48"},
         {1, 1},
         false},
    };
    for (const Case& c : cases) {
        std::vector<std::string> captions;
        windows.OnPump([&] {
            const ui::Dialog* progress = windows.FindDialog(progress_id::kDialog);
            captions.push_back(progress->Title() + ": " +
                               progress->ItemText(progress_id::kStatusText));
            if (c.stop) windows.Click(progress->window(), progress_id::kStop);
        });
        Run([&](ConsoleDialog& console) {
            if (c.replugged) {
                windows.DeliverPosted();  // the start-up's question, machine idle
                Plug(console, false);
                Plug(console, true);
                ASSERT_TRUE(console.IsConnected());
                StartRecord();
            }
            shown.clear();
            windows.OnBox([&](const ui::HeadlessWindowSystem::BoxRecord& box) {
                shown.push_back(box.text + "/" + std::to_string(box.style));
                return box.style == ui::kMbYesNo ? c.answer : ui::kIdOk;
            });
            fake.device.replies.assign(c.replies.begin(), c.replies.end());
            windows.DeliverPosted();
            EXPECT_TRUE(fake.device.replies.empty());
            EXPECT_EQ(shown, c.shown);
            EXPECT_EQ(Commands(), c.commands);
            EXPECT_TRUE(console.IsWindowEnabled());
            EXPECT_EQ(windows.ActiveTimers(console.window()).size(), 1u);
        });
        EXPECT_EQ(!captions.empty(), c.watched);
        if (!captions.empty()) {
            EXPECT_EQ(captions[0], "Running: Running");
        }
    }
}

// A second passes on every round of the progress window's messages: the
// console's sensor timer, were it running, would poll between status reads.
// Nor is the question about a procedure found running asked of the one the
// console watches: the watch reads the status itself.
TEST_F(LoadCheckProcedures, NothingButTheWatchReadsTheMachineDuringIt) {
    struct Case {
        int button;
        int start;
        std::vector<std::string> shown;
    };
    const Case cases[] = {{console_id::kCheckLoadX, kLoadCheck, {"Completed/0"}},
                          {console_id::kStartAging, kAging, {}}};
    windows.OnPump([&] { fake.system.now += 1000; });
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            Click(console, c.button,
                  {StatusReply(1), kOk, StatusReply(0x4001), StatusReply(0x4001),
                   StatusReply(0x0001)});
            EXPECT_EQ(Commands(), (std::vector<int>{1, c.start, 1, 1, 1}));
            EXPECT_EQ(shown, c.shown);
        }
    });
}

TEST_F(LoadCheckProcedures, ProgressWindowLeavesAnOwnerItDidNotDisable) {
    Run([&](ConsoleDialog& console) {
        console.EnableWindow(false);
        ProgressDialog progress(app);
        ASSERT_TRUE(progress.Create(console, "Bundle"));
        ASSERT_TRUE(windows.Click(progress.window(), progress_id::kStop));
        EXPECT_TRUE(progress.CheckCancel());
        EXPECT_FALSE(progress.CheckCancel());
        progress.DestroyWindow();
        EXPECT_FALSE(console.IsWindowEnabled());
        console.EnableWindow(true);
    });
}

}  // namespace
}  // namespace hw
