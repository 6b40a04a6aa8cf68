// Dialogs on the headless window system: the message map, default OK and
// Cancel, data exchange, timers, modal nesting and modeless lifetime.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "ui/DialogTimer.h"
#include "ui/TestDialogs.h"

namespace hw::test {
namespace {

using ui::kIdCancel;
using ui::kIdOk;
using Calls = std::vector<std::string>;

// A test dialog shown modeless, so the test can act on it directly.
struct ShownDialog : Ui {
    ShownDialog() { EXPECT_TRUE(dialog.Create(ui::kNoWindow)); }
    TestDialog dialog{app};
    ui::WindowId w() const { return dialog.window(); }
};

TEST(MessageMap, FirstMatchingEntryWins) {
    ShownDialog s;
    const struct {
        int id;
        std::uint16_t code;
        Calls calls;
    } cases[] = {
        {30, ui::kBnClicked, {"go"}},
        {20, ui::kBnClicked, {"first"}},  // its own entry comes before the range
        {21, ui::kBnClicked, {"range"}},  // the range comes before 21's own entry
        {40, ui::kBnClicked, {"range"}},  // last id of the range
        {41, ui::kBnClicked, {}},         // past the range
        {19, ui::kBnClicked, {}},
        {30, 0x300, {}},  // another notification than a click
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        s.dialog.calls.clear();
        s.windows.SendCommand(s.w(), c.id, c.code);
        EXPECT_EQ(s.dialog.calls, c.calls);
    }
}

// Each entry decodes its message into the handler's arguments and its answer
// into the message's result.
TEST(MessageMap, WindowMessagesReachTheirHandlersDecoded) {
    const struct {
        ui::Message message;
        Calls calls;
        std::intptr_t result;
    } cases[] = {
        {{ui::kWmDeviceChange, ui::kDbtDevNodesChanged, 0}, {"device 7"}, 1},
        {{ui::kWmDeviceChange, 0x8000, 42}, {"device 32768 42"}, 1},
        {{ui::kWmTimer, 9, 0}, {"timer 9"}, 0},
        // The four low bits of a system command are the system's own.
        {{ui::kWmSysCommand, 0x0013, 0}, {"syscommand 16"}, 0},
        {{ui::kWmSize, 0, (480 << 16) | 640}, {"size 640x480"}, 0},
        // Screen points are signed: (-5, 7).
        {{ui::kWmNcHitTest, 0, (7 << 16) | 0xFFFB}, {"hit -5,7"}, ui::kHtBottomRight},
        // No entry: default processing, result 0.
        {{ui::kWmPaint, 0, 0}, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.message);
        ShownDialog s;
        s.dialog.leaveSysCommandToDefault = false;
        EXPECT_EQ(s.windows.messages.Send(s.w(), c.message), c.result);
        EXPECT_EQ(s.dialog.calls, c.calls);
    }
}

TEST(MessageMap, UnmatchedOkAndCancelGoToTheDefaultActions) {
    Ui u;
    TestDialog ok(u.app);
    u.windows.OnModal(kTestDialog, [&](ui::Dialog& d) { u.windows.PressEnter(d.window()); });
    EXPECT_EQ(ok.DoModal(), kIdOk);
    EXPECT_EQ(ok.calls, (Calls{"OnOK"}));

    TestDialog cancel(u.app);
    u.windows.OnModal(kTestDialog, [&](ui::Dialog& d) { u.windows.PressEscape(d.window()); });
    EXPECT_EQ(cancel.DoModal(), kIdCancel);
    EXPECT_EQ(cancel.calls, (Calls{"OnCancel"}));
}

TEST(MessageMap, CloseBoxLeftToDefaultCancels) {
    Ui u;
    TestDialog d(u.app);
    u.windows.OnModal(kTestDialog, [&](ui::Dialog& up) {
        u.windows.PressCloseBox(up.window());
        EXPECT_FALSE(u.windows.IsUp(up.window()));
    });
    EXPECT_EQ(d.DoModal(), kIdCancel);
    EXPECT_EQ(d.calls, (Calls{"syscommand", "OnCancel"}));
}

TEST(MessageMap, CloseBoxHandledByTheDialogDoesNotCancel) {
    ShownDialog s;
    s.dialog.leaveSysCommandToDefault = false;
    s.windows.PressCloseBox(s.w());
    EXPECT_TRUE(s.windows.IsUp(s.w()));
    EXPECT_EQ(s.dialog.calls, (Calls{"syscommand"}));
}

// Enter as IsDialogMessage sends it: the focused push button (the first tab
// stop at start), else the default button, else IDOK.
TEST(Keys, EnterGoesToTheFocusedButtonElseTheDefaultButton) {
    const struct {
        const char* what;
        std::function<void(ShownDialog&)> before;
        Calls calls;
    } cases[] = {
        {"first tab stop", [](ShownDialog&) {}, {"OnOK"}},
        {"clicked button", [](ShownDialog& s) { s.windows.Click(s.w(), 30); }, {"go", "go"}},
        {"in an edit: the template's default",
         [](ShownDialog& s) { s.windows.Type(s.w(), 10, "x"); },
         {"OnOK"}},
        {"a default set by DM_SETDEFID",
         [](ShownDialog& s) {
             s.dialog.Send({ui::kDmSetDefId, 30, 0});
             s.windows.Type(s.w(), 10, "x");
         },
         {"go"}},
        {"a disabled default",
         [](ShownDialog& s) {
             s.dialog.Send({ui::kDmSetDefId, 31, 0});
             s.windows.Type(s.w(), 10, "x");
         },
         {}},
        {"no default button",
         [](ShownDialog& s) {
             s.windows.RemoveItem(s.w(), 1);
             s.windows.Type(s.w(), 10, "x");
         },
         {"OnOK"}},
        {"a disabled window", [](ShownDialog& s) { s.dialog.EnableWindow(false); }, {}},
        {"taken by the dialog", [](ShownDialog& s) { s.dialog.takenKey = ui::kVkReturn; }, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ShownDialog s;
        c.before(s);
        s.windows.PressEnter(s.w());
        EXPECT_EQ(s.dialog.calls, c.calls);
    }
}

TEST(Keys, EscapeCancelsUnlessTakenOrDisabled) {
    ShownDialog s;
    s.dialog.takenKey = ui::kVkEscape;
    s.windows.PressEscape(s.w());
    s.dialog.takenKey = 0;
    s.dialog.EnableWindow(false);
    s.windows.PressEscape(s.w());
    EXPECT_TRUE(s.dialog.calls.empty());
    s.dialog.EnableWindow(true);
    s.windows.PressEscape(s.w());
    EXPECT_EQ(s.dialog.calls, (Calls{"OnCancel"}));
}

TEST(DataExchange, BindsEditsAndLoadsTheMembersAtInit) {
    ShownDialog s;
    EXPECT_TRUE(s.dialog.edit.IsBound());
    EXPECT_EQ(s.dialog.edit.GetText(), "start");
    s.dialog.edit.SetText("typed");
    EXPECT_EQ(s.windows.items.ItemText(s.w(), 10), "typed");
    s.dialog.edit.Enable(false);
    EXPECT_FALSE(s.windows.Item(s.w(), 10).enabled);
    // Choice 0 checked the first radio; the string went into its label.
    EXPECT_TRUE(s.windows.items.IsItemChecked(s.w(), 20));
    EXPECT_FALSE(s.windows.items.IsItemChecked(s.w(), 21));
    EXPECT_EQ(s.windows.items.ItemText(s.w(), 50), "bound");
}

TEST(DataExchange, RadioGroupBothWays) {
    ShownDialog s;
    // Saving: the index within the group (the label inside does not count).
    const struct {
        bool first, second, third;
        int choice;
    } saves[] = {
        {false, false, true, 2},
        {false, true, false, 1},
        {true, false, true, 0},
        {false, false, false, -1},
    };
    for (const auto& c : saves) {
        s.windows.items.CheckItem(s.w(), 20, c.first);
        s.windows.items.CheckItem(s.w(), 21, c.second);
        s.windows.items.CheckItem(s.w(), 22, c.third);
        ASSERT_TRUE(s.dialog.UpdateData(true));
        EXPECT_EQ(s.dialog.choice, c.choice);
    }
    // Loading: exactly the chosen one; none for a value outside the group.
    for (int choice : {1, 2, -1, 3}) {
        s.dialog.choice = choice;
        ASSERT_TRUE(s.dialog.UpdateData(false));
        EXPECT_EQ(s.windows.items.IsItemChecked(s.w(), 20), choice == 0);
        EXPECT_EQ(s.windows.items.IsItemChecked(s.w(), 21), choice == 1);
        EXPECT_EQ(s.windows.items.IsItemChecked(s.w(), 22), choice == 2);
    }
}

TEST(DataExchange, ClickingARadioChecksItAloneAndSavesAsItsIndex) {
    ShownDialog s;
    ASSERT_TRUE(s.windows.Click(s.w(), 22));
    EXPECT_FALSE(s.windows.items.IsItemChecked(s.w(), 20));
    EXPECT_TRUE(s.windows.items.IsItemChecked(s.w(), 22));
    ASSERT_TRUE(s.dialog.UpdateData(true));
    EXPECT_EQ(s.dialog.choice, 2);
    // The check box is a group of its own and toggles.
    ASSERT_TRUE(s.windows.Click(s.w(), 40));
    ASSERT_TRUE(s.windows.Click(s.w(), 40));
    EXPECT_FALSE(s.windows.items.IsItemChecked(s.w(), 40));
    EXPECT_TRUE(s.windows.items.IsItemChecked(s.w(), 22));
}

TEST(DataExchange, SavesTextIntoMembers) {
    ShownDialog s;
    s.windows.Type(s.w(), 50, "changed");
    ASSERT_TRUE(s.dialog.UpdateData(true));
    EXPECT_EQ(s.dialog.label, "changed");
}

TEST(DataExchange, FailsWhenABoundControlIsMissing) {
    for (int missing : {10, 20, 50}) {
        SCOPED_TRACE(missing);
        ShownDialog s;
        s.dialog.label = "kept";
        s.windows.RemoveItem(s.w(), missing);
        EXPECT_FALSE(s.dialog.UpdateData(true));
        EXPECT_FALSE(s.dialog.UpdateData(false));
        // The exchange stops at the failure: the label after it is untouched.
        EXPECT_EQ(s.dialog.label, "kept");
    }
}

TEST(DataExchange, FailedSaveKeepsTheDialogOpenOnOk) {
    ShownDialog s;
    s.windows.RemoveItem(s.w(), 20);
    s.windows.PressEnter(s.w());
    EXPECT_TRUE(s.windows.IsUp(s.w()));
    EXPECT_EQ(s.dialog.calls, (Calls{"OnOK"}));
}

TEST(Timers, SetFireKill) {
    ShownDialog s;
    using T = ui::HeadlessWindowSystem::TimerState;
    EXPECT_EQ(s.dialog.SetTimer(1, 500), 1u);
    EXPECT_EQ(s.dialog.SetTimer(7, 200), 7u);
    EXPECT_EQ(s.windows.ActiveTimers(s.w()), (std::vector<T>{{1, 500}, {7, 200}}));
    // Setting a running id again changes its period.
    EXPECT_EQ(s.dialog.SetTimer(1, 250), 1u);
    EXPECT_EQ(s.windows.ActiveTimers(s.w()), (std::vector<T>{{1, 250}, {7, 200}}));

    EXPECT_TRUE(s.windows.FireTimer(s.w(), 7));
    EXPECT_EQ(s.dialog.calls, (Calls{"timer 7"}));
    EXPECT_TRUE(s.dialog.KillTimer(7));
    EXPECT_FALSE(s.dialog.KillTimer(7));
    EXPECT_FALSE(s.windows.FireTimer(s.w(), 7));
    EXPECT_FALSE(s.windows.FireTimer(s.w(), 2));
    EXPECT_EQ(s.dialog.calls, (Calls{"timer 7"}));
    EXPECT_EQ(s.windows.ActiveTimers(s.w()), (std::vector<T>{{1, 250}}));
}

// With a clock, a pump delivers each timer whose period has passed, once
// however many periods passed, and not a killed one.
TEST(Timers, DueTimersFireWhileThePumpRuns) {
    ShownDialog s;
    std::uint64_t now = 1000;
    s.windows.UseClock([&] { return now; });
    s.dialog.SetTimer(1, 500);
    s.dialog.SetTimer(7, 200);
    s.dialog.SetTimer(9, 100);
    s.dialog.KillTimer(9);
    Calls fired;
    for (const std::uint64_t at : {1199, 1200, 1399, 5000}) {
        now = at;
        s.windows.messages.PumpMessages(s.w());
        fired.push_back(std::to_string(s.dialog.calls.size()));
    }
    EXPECT_EQ(s.dialog.calls, (Calls{"timer 7", "timer 1", "timer 7"}));
    EXPECT_EQ(fired, (Calls{"0", "1", "1", "3"}));
}

TEST(Timers, FailureGivesZeroAndNoTimer) {
    ShownDialog s;
    s.windows.FailTimers(true);
    EXPECT_EQ(s.dialog.SetTimer(1, 500), 0u);
    EXPECT_TRUE(s.windows.ActiveTimers(s.w()).empty());
}

// A timer owned by an object stops when the object goes, and only its own
// event counts as fired.
TEST(Timers, AnOwnedTimerStopsWhenItsOwnerGoes) {
    ShownDialog s;
    s.dialog.SetTimer(1, 500);
    {
        ui::DialogTimer timer(s.dialog);
        EXPECT_TRUE(timer.Start(7, 200));
        EXPECT_TRUE(timer.Fired(7));
        EXPECT_FALSE(timer.Fired(1));
    }
    using T = ui::HeadlessWindowSystem::TimerState;
    EXPECT_EQ(s.windows.ActiveTimers(s.w()), (std::vector<T>{{1, 500}}));
}

TEST(Timers, DieWithTheWindow) {
    ShownDialog s;
    const ui::WindowId w = s.w();
    s.dialog.SetTimer(1, 500);
    EXPECT_TRUE(s.dialog.DestroyWindow());
    EXPECT_TRUE(s.windows.ActiveTimers(w).empty());
    EXPECT_FALSE(s.windows.FireTimer(w, 1));
}

TEST(Modal, NestedDialogDisablesItsOwnerWhileUp) {
    Ui u;
    TestDialog main(u.app);
    u.app.SetMainWindow(&main);
    ChildDialog child(u.app);
    int childResult = 0;
    main.onGo = [&] { childResult = child.DoModal(); };
    u.windows.OnModal(kChildDialog, [&](ui::Dialog& up) {
        EXPECT_EQ(&up, &child);
        EXPECT_FALSE(main.IsWindowEnabled());
        EXPECT_FALSE(u.windows.Click(main.window(), 30));
        EXPECT_EQ(up.SetTimer(1, 250), 1u);
        EXPECT_TRUE(u.windows.FireTimer(up.window(), 1));
        up.EndDialog(42);
    });
    u.windows.OnModal(kTestDialog, [&](ui::Dialog& up) {
        EXPECT_TRUE(u.windows.Click(up.window(), 30));
        EXPECT_TRUE(main.IsWindowEnabled());
        EXPECT_EQ(child.window(), ui::kNoWindow);
        up.EndDialog(5);
    });
    EXPECT_EQ(main.DoModal(), 5);
    EXPECT_EQ(childResult, 42);
    EXPECT_EQ(main.window(), ui::kNoWindow);
    ASSERT_EQ(u.windows.Modals().size(), 2u);
    EXPECT_EQ(u.windows.Modals()[0].templateId, kChildDialog);
    EXPECT_NE(u.windows.Modals()[0].owner, ui::kNoWindow);  // the main window
    EXPECT_EQ(u.windows.Modals()[1].owner, ui::kNoWindow);
}

TEST(Modal, WithoutAHandlerEndsAtOnceThroughCancel) {
    Ui u;
    TestDialog d(u.app);
    EXPECT_EQ(d.DoModal(), kIdCancel);
    EXPECT_EQ(d.calls, (Calls{"OnCancel"}));
}

TEST(Modal, HandlerThatDoesNotEndItIsCancelled) {
    Ui u;
    TestDialog d(u.app);
    u.windows.OnModal(kTestDialog, [](ui::Dialog&) {});
    EXPECT_EQ(d.DoModal(), kIdCancel);
    EXPECT_EQ(d.calls, (Calls{"OnCancel"}));
}

TEST(Modal, CreationFailureGivesMinusOne) {
    Ui u;
    TestDialog d(u.app);
    u.windows.FailNextCreate(kTestDialog);
    EXPECT_EQ(d.DoModal(), -1);
    EXPECT_TRUE(d.calls.empty());
    ui::Dialog unknown(u.app, 999);
    EXPECT_EQ(unknown.DoModal(), -1);
}

TEST(Modeless, StaysUpUntilDestroyed) {
    Ui u;
    auto d = std::make_unique<TestDialog>(u.app);
    ASSERT_TRUE(d->Create(ui::kNoWindow));
    const ui::WindowId w = d->window();
    EXPECT_TRUE(u.windows.IsUp(w));
    EXPECT_EQ(u.windows.FindDialog(kTestDialog), d.get());
    EXPECT_EQ(u.windows.windows.Title(w), "Test");
    EXPECT_TRUE(u.windows.Click(w, 30));
    EXPECT_TRUE(d->DestroyWindow());
    EXPECT_FALSE(u.windows.IsUp(w));
    EXPECT_EQ(d->window(), ui::kNoWindow);
    EXPECT_FALSE(d->DestroyWindow());
    // The object's end destroys a window still up.
    ASSERT_TRUE(d->Create(ui::kNoWindow));
    const ui::WindowId again = d->window();
    d.reset();
    EXPECT_FALSE(u.windows.IsUp(again));
    EXPECT_EQ(u.windows.FindDialog(kTestDialog), nullptr);
}

TEST(Modeless, CreationFailure) {
    Ui u;
    TestDialog d(u.app);
    u.windows.FailNextCreate(kTestDialog);
    EXPECT_FALSE(d.Create(ui::kNoWindow));
    EXPECT_EQ(d.window(), ui::kNoWindow);
    EXPECT_TRUE(d.Create(ui::kNoWindow));  // only the next one failed
}

TEST(Controls, DisabledAndHiddenControlsTakeNoClicks) {
    ShownDialog s;
    EXPECT_FALSE(s.windows.Click(s.w(), 31));
    EXPECT_FALSE(s.windows.Click(s.w(), 32));
    EXPECT_FALSE(s.windows.Click(s.w(), 99));
    s.dialog.EnableWindow(false);
    EXPECT_FALSE(s.windows.Click(s.w(), 30));
    EXPECT_TRUE(s.dialog.calls.empty());
    s.dialog.EnableWindow(true);
    s.dialog.EnableItem(31, true);
    EXPECT_TRUE(s.windows.Click(s.w(), 31));
    EXPECT_EQ(s.dialog.calls, (Calls{"range"}));
}

TEST(Messages, PumpDeliversPostedMessagesThenRunsTheHook) {
    ShownDialog s;
    Calls seen;
    s.windows.OnPump([&] { seen = s.dialog.calls; });
    EXPECT_TRUE(s.dialog.Post({ui::kWmTimer, 3, 0}));
    EXPECT_TRUE(s.dialog.calls.empty());
    s.windows.messages.PumpMessages(s.w());
    EXPECT_EQ(seen, (Calls{"timer 3"}));
    s.dialog.DestroyWindow();
    EXPECT_FALSE(s.dialog.Post({ui::kWmTimer, 3, 0}));
}

TEST(Threads, WorkerRunsAndIsJoined) {
    Ui u;
    std::atomic<bool> ran = false;
    {
        ui::WorkerThread worker = u.windows.messages.StartThread([&] { ran = true; });
        EXPECT_TRUE(worker.Joinable());
    }
    EXPECT_TRUE(ran);
    u.windows.RunThreadsInline(true);
    bool inlineRan = false;
    const ui::WorkerThread none = u.windows.messages.StartThread([&] { inlineRan = true; });
    EXPECT_TRUE(inlineRan);
    EXPECT_FALSE(none.Joinable());
}

}  // namespace
}  // namespace hw::test
