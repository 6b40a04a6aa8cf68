// The demonstration's control window on the headless window system: each box
// and button acts on the simulated machine, the boxes follow the machine, the
// window moves beside the console, and the console's sensor labels and panel
// check show what was done.
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "commands/MachineLink.h"
#include "console/ConsoleDialog.h"
#include "console/ConsoleIds.h"
#include "console/checks/BitLabels.h"
#include "console/windows/PanelCheckDialog.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeSettingsFile.h"
#include "fakes/FakeVersionBlocks.h"
#include "fakes/FixedProgramFile.h"
#include "sim/control/SimControlPlacement.h"
#include "sim/control/SimControlWindow.h"
#include "sim/pc/SimEnvironment.h"
#include "sim/pc/SimUserSettings.h"
#include "ui/headless/HeadlessWindowSystem.h"
#include "ui/headless/ResourceScript.h"

namespace hw {

// The demonstration's resource script, built into this test.
std::string_view DemoControlsText();

namespace {

using Timers = std::vector<ui::HeadlessWindowSystem::TimerState>;
using Bytes = std::array<std::uint8_t, kSimSensorBytes>;
using ui::CheckState;

// The program's dialogs with the demonstration's beside them.
ui::ResourceScript DemoResources() {
    ui::ResourceScript script = ui::ProgramResources();
    ui::ResourceScript demo = ui::ParseResourceScript(DemoControlsText());
    script.dialogs.merge(demo.dialogs);
    return script;
}

class ControlWindow : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(controls.Create(ui::kNoWindow)); }

    ui::WindowId Window() const { return controls.window(); }
    bool Checked(int item) const { return windows.Item(Window(), item).checked; }
    bool Enabled(int item) const { return windows.Item(Window(), item).enabled; }
    const std::string& Text(int item) const { return windows.Item(Window(), item).text; }
    CheckState Box(int item) const { return controls.ItemCheckState(item); }
    Bytes Sensors() { return sim.Machine().SensorBytes(); }
    void Tick() { ASSERT_TRUE(windows.FireTimer(Window(), kSimControlTimerEvent)); }

    void Connect(MachineLink& link) {
        ASSERT_EQ(link.FindPrinters(kSimDriverName), 1);
        ASSERT_TRUE(link.Connect(*link.PrinterName(0), 0, 32, false));
    }

    // Runs the console modally on the simulated machine; inside acts while
    // it is up.
    void RunConsole(std::function<void(ui::Dialog& console)> inside) {
        test::FixedProgramFile program{"C:\\Tools\\HexwardenDemo.exe"};
        test::FakeFileSystem files;
        test::FakeSettingsFile settings;
        test::FakeVersionBlocks versions;
        SimUserSettings userSettings;
        ConsoleServices services{app,      sim.Platform(), program,     files,
                                 settings, versions,       userSettings};
        windows.OnModal(console_id::kDialog, std::move(inside));
        ConsoleDialog console(services);
        app.SetMainWindow(&console);
        console.DoModal();
        app.SetMainWindow(nullptr);
    }

    TestClock clock{1};
    SimEnvironment sim{clock};
    ui::ResourceScript resources = DemoResources();
    ui::HeadlessWindowSystem windows{resources};
    ui::Application app{windows, "HexwardenDemo"};
    SimControlWindow controls{app, sim};
};

// With two machines, the window follows the one whose device the console
// opened last, and pulls that one's cable only.
TEST_F(ControlWindow, ActsOnTheMachineTheConsoleTalksTo) {
    sim.AddMachine(kSimSecondQueueName, kSimSecondPortName, SecondMachineConfig());
    MachineLink second(sim.Platform());
    ASSERT_TRUE(second.Connect(kSimSecondQueueName, 0, 32, false));
    Tick();
    EXPECT_EQ(controls.Title(), "Simulated QMV-240 - QMV-240 (Copy 1) on USB002");
    ASSERT_TRUE(windows.Click(Window(), sim_control_id::kUnplug));
    second.Disconnect();
    EXPECT_FALSE(second.Connect(kSimSecondQueueName, 0, 32, false));
    MachineLink first(sim.Platform());
    EXPECT_TRUE(first.Connect(kSimQueueName, 0, 32, false));
}

TEST_F(ControlWindow, OpensShowingTheMachine) {
    EXPECT_EQ(controls.Title(), "Simulated QMV-240 - QMV-240 on USB001");
    // At its origin the machine stands on its four home switches, which
    // follow their axes.
    const std::vector<std::pair<int, std::string>> limits = {{901, "Limit X: on"},
                                                             {902, "Limit Y: on"},
                                                             {903, "Limit Z: on"},
                                                             {904, "Limit A (home): on"}};
    for (const auto& [box, text] : limits) {
        EXPECT_EQ(Box(box), CheckState::Indeterminate) << box;
        EXPECT_EQ(Text(box), text);
    }
    for (int sensor = sim_control_id::kFirstSwitch; sensor <= sim_control_id::kLastSwitch;
         ++sensor) {
        EXPECT_FALSE(Checked(sensor)) << sensor;
    }
    for (int key = sim_control_id::kFirstKey; key <= sim_control_id::kLastKey; ++key)
        EXPECT_FALSE(Checked(key)) << key;
    EXPECT_FALSE(Checked(sim_control_id::kUpdateMode));
    EXPECT_EQ(Text(sim_control_id::kFailedCommand), "");
    EXPECT_TRUE(Enabled(sim_control_id::kUnplug));
    EXPECT_FALSE(Enabled(sim_control_id::kPlugIn));
    EXPECT_EQ(windows.ActiveTimers(Window()), (Timers{{1, 500}}));
}

TEST_F(ControlWindow, EachSwitchBoxChangesItsOwnBit) {
    struct Case {
        int box;
        std::size_t byte;
        std::uint8_t mask;
    };
    const std::vector<Case> cases = {{905, 5, 0x40}, {906, 5, 0x01}, {907, 4, 0x02}};
    for (const Case& c : cases) {
        for (int click = 0; click < 2; ++click) {
            const Bytes before = Sensors();
            ASSERT_TRUE(windows.Click(Window(), c.box));
            Bytes expected = before;
            expected[c.byte] ^= c.mask;
            EXPECT_EQ(Sensors(), expected) << c.box << " click " << click;
        }
    }
}

// Clicks go round: held open, held made, following the axis again.
TEST_F(ControlWindow, EachLimitBoxHoldsItsOwnSwitchOrLetsItFollow) {
    struct Case {
        int box;
        int axis;
        std::size_t byte;
        std::uint8_t mask;
        std::string name;
    };
    const std::vector<Case> cases = {{901, kSimAxisX, 0, 0x08, "Limit X"},
                                     {902, kSimAxisY, 0, 0x10, "Limit Y"},
                                     {903, kSimAxisZ, 0, 0x20, "Limit Z"},
                                     {904, kSimAxisA, 2, 0x10, "Limit A (home)"}};
    for (const Case& c : cases) {
        const Bytes atOrigin = Sensors();
        Bytes open = atOrigin;
        open[c.byte] &= static_cast<std::uint8_t>(~c.mask);

        ASSERT_TRUE(windows.Click(Window(), c.box));
        EXPECT_EQ(Box(c.box), CheckState::Unchecked) << c.name;
        EXPECT_EQ(Sensors(), open) << c.name;
        EXPECT_EQ(Text(c.box), c.name + ": off");

        ASSERT_TRUE(windows.Click(Window(), c.box));
        EXPECT_EQ(Box(c.box), CheckState::Checked) << c.name;
        EXPECT_EQ(Sensors(), atOrigin) << c.name;
        EXPECT_EQ(Text(c.box), c.name + ": on");

        ASSERT_TRUE(windows.Click(Window(), c.box));
        EXPECT_EQ(Box(c.box), CheckState::Indeterminate) << c.name;
        EXPECT_EQ(sim.Machine().LimitSwitchHold(c.axis), std::nullopt) << c.name;
    }
}

// A box that has not caught up with the machine yet undoes nothing: a limit
// left or reached by motion stays as the axis has it.
TEST_F(ControlWindow, LimitsFollowMotionWhateverOtherBoxesSay) {
    const std::int32_t away[] = {1000};
    ASSERT_EQ(sim.Machine().MoveTo(away, 1, kSimHomingFeed), kSimDone);
    clock.Advance(1000);
    sim.Machine().Update();
    ASSERT_EQ(Sensors()[0] & 0x08, 0);
    ASSERT_EQ(Text(901), "Limit X: on");  // not yet caught up

    ASSERT_TRUE(windows.Click(Window(), 902));  // Y held open
    ASSERT_TRUE(windows.Click(Window(), 905));  // cover open
    EXPECT_EQ(Sensors()[0] & 0x08, 0);
    EXPECT_EQ(Text(901), "Limit X: off");

    ASSERT_EQ(sim.Machine().ReturnToOrigin(), kSimDone);
    clock.Advance(10000);
    sim.Machine().Update();
    Tick();
    EXPECT_EQ(Text(901), "Limit X: on");
    EXPECT_EQ(Text(902), "Limit Y: off");
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The keys as the console's panel check reads them from the machine: each
// box lights the label of the key it names (the check spells some in capitals),
// and only that one.
TEST_F(ControlWindow, EachKeyBoxLightsItsOwnKeyInThePanelCheck) {
    MachineLink link(sim.Platform());
    Connect(link);
    PanelCheckDialog check(app, link);
    ASSERT_TRUE(check.Create(ui::kNoWindow));
    const auto keysOn = [&] {
        std::set<std::string> on;
        EXPECT_TRUE(windows.FireTimer(check.window(), kPanelTimerEvent));
        for (const auto* item : windows.Items(check.window())) {
            if (item->text.ends_with("=ON")) on.insert(Upper(item->text));
        }
        return on;
    };
    for (int box = sim_control_id::kFirstKey; box <= sim_control_id::kLastKey; ++box) {
        ASSERT_TRUE(windows.Click(Window(), box));
        EXPECT_EQ(keysOn(), std::set<std::string>{Upper(Text(box)) + "=ON"}) << box;
        ASSERT_TRUE(windows.Click(Window(), box));
    }
    ASSERT_TRUE(windows.Click(Window(), sim_control_id::kFirstKey));
    ASSERT_TRUE(windows.Click(Window(), sim_control_id::kLastKey));
    EXPECT_EQ(keysOn(), (std::set<std::string>{"+X=ON", "COPY=ON"}));
}

TEST_F(ControlWindow, DialButtonsTurnTheDialEitherWay) {
    const std::int32_t start = sim.Machine().DialCounter();
    ASSERT_TRUE(windows.Click(Window(), sim_control_id::kDialMinus));
    ASSERT_TRUE(windows.Click(Window(), sim_control_id::kDialMinus));
    EXPECT_EQ(sim.Machine().DialCounter(), start - 2);
    ASSERT_TRUE(windows.Click(Window(), sim_control_id::kDialPlus));
    EXPECT_EQ(sim.Machine().DialCounter(), start - 1);
}

TEST_F(ControlWindow, CableButtonsUnplugAndPlugBackIn) {
    int changes = 0;
    sim.OnDeviceChange([&changes] { ++changes; });
    ASSERT_TRUE(windows.Click(Window(), sim_control_id::kUnplug));
    EXPECT_FALSE(sim.Plugged());
    EXPECT_FALSE(Enabled(sim_control_id::kUnplug));
    EXPECT_TRUE(Enabled(sim_control_id::kPlugIn));
    ASSERT_TRUE(windows.Click(Window(), sim_control_id::kPlugIn));
    EXPECT_TRUE(sim.Plugged());
    EXPECT_TRUE(Enabled(sim_control_id::kUnplug));
    EXPECT_FALSE(Enabled(sim_control_id::kPlugIn));
    EXPECT_EQ(changes, 2);
}

TEST_F(ControlWindow, UpdateModeBoxEntersAndLeavesUpdateMode) {
    ASSERT_TRUE(windows.Click(Window(), sim_control_id::kUpdateMode));
    EXPECT_NE(sim.Machine().StatusWord() & kSimStatusUpdateMode, 0);
    ASSERT_TRUE(windows.Click(Window(), sim_control_id::kUpdateMode));
    EXPECT_EQ(sim.Machine().StatusWord() & kSimStatusUpdateMode, 0);
}

// The reads the console repeats by itself go through and leave the failure
// armed; the next other command takes it, once.
TEST_F(ControlWindow, FailNextCommandPassesTheRepeatedReads) {
    MachineLink link(sim.Platform());
    Connect(link);
    ASSERT_TRUE(windows.Click(Window(), sim_control_id::kFailNextCommand));
    EXPECT_EQ(Text(sim_control_id::kFailedCommand), "Next command fails");
    std::array<std::uint8_t, kSimSensorBytes> bytes{};
    EXPECT_EQ(link.GetSensorBytes(bytes.data(), kSimSensorBytes), kSimSensorBytes);
    EXPECT_EQ(link.GetPanelKeys(bytes.data(), kPanelReplyBytes), kPanelReplyBytes);
    std::int32_t dial = 0;
    EXPECT_EQ(link.GetDialCounter(&dial, 1), 1);
    Tick();
    EXPECT_EQ(Text(sim_control_id::kFailedCommand), "Next command fails");

    EXPECT_EQ(link.GetStatusWord(), kStatusNoAnswer);
    EXPECT_NE(link.GetStatusWord(), kStatusNoAnswer);
    Tick();
    EXPECT_EQ(Text(sim_control_id::kFailedCommand), "Failed: command 1");
}

TEST_F(ControlWindow, FaultBoxesStayCheckedUntilTheMachineTakesTheirFault) {
    const std::pair<int, bool SimFaults::*> boxes[] = {
        {sim_control_id::kCorruptNextPut, &SimFaults::corruptNextPut},
        {sim_control_id::kLoseBlockAtUpdate, &SimFaults::loseBlockAtUpdate},
        {sim_control_id::kStaysAwayAfterUpdate, &SimFaults::staysAwayAfterUpdate},
    };
    for (const auto& [box, fault] : boxes) {
        SCOPED_TRACE(box);
        ASSERT_TRUE(windows.Click(Window(), box));
        const SimFaults& faults = sim.Faults();
        EXPECT_TRUE(faults.*fault);
        // Its own fault alone.
        EXPECT_EQ(faults.corruptNextPut + faults.loseBlockAtUpdate + faults.staysAwayAfterUpdate,
                  1);
        Tick();
        EXPECT_TRUE(Checked(box));
        sim.Faults().*fault = false;  // as the machine takes it
        Tick();
        EXPECT_FALSE(Checked(box));
    }
}

TEST_F(ControlWindow, BoxesFollowTheMachineOnEachTick) {
    const std::int32_t corner[] = {23000, 19000, -30};
    ASSERT_EQ(sim.Machine().MoveTo(corner, 3, kSimHomingFeed), kSimDone);
    clock.Advance(60000);
    sim.Machine().Update();
    sim.Machine().SetCoverOpen(true);
    sim.Machine().SetPumpSwitch(true);
    sim.Machine().EnterUpdateMode();
    sim.Unplug();
    EXPECT_FALSE(Checked(905));
    EXPECT_EQ(Text(sim_control_id::kPosition), "X 0.00  Y 0.00  Z 0.00 mm");
    Tick();
    EXPECT_EQ(Text(sim_control_id::kPosition), "X 230.00  Y 190.00  Z -0.30 mm");
    EXPECT_TRUE(Checked(905));
    EXPECT_TRUE(Checked(907));
    EXPECT_TRUE(Checked(sim_control_id::kUpdateMode));
    EXPECT_FALSE(Enabled(sim_control_id::kUnplug));
    EXPECT_TRUE(Enabled(sim_control_id::kPlugIn));
}

TEST_F(ControlWindow, ShowsWhatTheMachineMadeOfTheLastFile) {
    const std::vector<std::uint8_t> file(12, 'x');
    std::vector<std::string> shown;
    for (auto before : {+[](SimMachine&) {}, +[](SimMachine& m) { m.EnterUpdateMode(); },
                        +[](SimMachine& m) { m.RaiseError("axis fault"); }}) {
        before(sim.Machine());
        sim.Controller().ReceivePrintJob(file);
        Tick();
        shown.push_back(Text(sim_control_id::kReceived));
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"Received a file, 12 bytes",
                                               "Received firmware, 12 bytes, restarted",
                                               "Refused a file of 12 bytes: not ready"}));
}

TEST_F(ControlWindow, OnlyTheCloseBoxClosesIt) {
    windows.PressEnter(Window());
    EXPECT_TRUE(windows.IsUp(Window()));
    const ui::WindowId window = Window();
    windows.PressCloseBox(window);
    EXPECT_FALSE(windows.IsUp(window));
    EXPECT_EQ(controls.window(), ui::kNoWindow);
}

TEST(ControlWindowPlacement, BesideBelowOrWithinTheScreen) {
    struct Case {
        const char* what;
        ui::Rect anchor;
        ui::Point size;
        ui::Point expected;
    };
    const ui::Rect screen{0, 0, 1024, 768};
    const std::vector<Case> cases = {
        {"just room to the right", {0, 0, 724, 400}, {300, 200}, {724, 0}},
        {"right, pushed up", {0, 600, 500, 700}, {300, 200}, {500, 568}},
        {"room below only", {0, 0, 678, 493}, {630, 220}, {0, 493}},
        {"below, pushed left", {700, 0, 1000, 300}, {400, 200}, {624, 300}},
        {"no room", {0, 0, 900, 700}, {300, 200}, {724, 0}},
        {"no room, pushed up", {0, 600, 900, 760}, {300, 200}, {724, 568}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlaceBeside(c.anchor, c.size, screen), c.expected) << c.what;
    }
}

// The headless console (576 x 468 at 100, 50) leaves no room to its right on
// a 1024 x 768 screen for the window (540 x 203): it goes below, once.
TEST_F(ControlWindow, MovesBelowTheConsoleOnceTheConsoleIsUp) {
    RunConsole([&](ui::Dialog& console) {
        Tick();
        const ui::Rect beside = console.WindowRect();
        const ui::Rect own = controls.WindowRect();
        EXPECT_EQ(own.left, beside.left);
        EXPECT_EQ(own.top, beside.bottom);
        EXPECT_LE(own.bottom, 768);

        controls.MoveWindowTo({10, 20});  // moved by the person
        Tick();
        EXPECT_EQ(controls.WindowRect().left, 10);
    });
}

// What a person running the demonstration sees: the console follows the
// boxes clicked in the control window.
TEST_F(ControlWindow, TheConsoleShowsWhatWasDone) {
    RunConsole([&](ui::Dialog& console) {
        ASSERT_TRUE(windows.Click(Window(), 905));  // cover open
        ASSERT_TRUE(windows.FireTimer(console.window(), kSensorTimerEvent));
        EXPECT_EQ(windows.Item(console.window(), console_id::kCover).text, "Cover=Open");

        windows.OnModal(panel_id::kDialog, [&](ui::Dialog& check) {
            ASSERT_TRUE(windows.Click(Window(), 911));  // +X held
            ASSERT_TRUE(windows.Click(Window(), sim_control_id::kDialPlus));
            ASSERT_TRUE(windows.FireTimer(check.window(), kPanelTimerEvent));
            EXPECT_EQ(windows.Item(check.window(), 1078).text, "+X=ON");
            EXPECT_EQ(windows.Item(check.window(), 1087).text, "Dial=Plus");
            ASSERT_TRUE(windows.Click(check.window(), panel_id::kExit));
        });
        ASSERT_TRUE(windows.Click(console.window(), console_id::kCheckPanel));

        // Armed while the sensor labels keep following, the failure waits
        // for the check the technician starts.
        ASSERT_TRUE(windows.Click(Window(), sim_control_id::kFailNextCommand));
        ASSERT_TRUE(windows.Click(Window(), 905));  // cover closed
        ASSERT_TRUE(windows.FireTimer(console.window(), kSensorTimerEvent));
        EXPECT_EQ(windows.Item(console.window(), console_id::kCover).text, "Cover=Close");
        ASSERT_TRUE(windows.Click(console.window(), console_id::kCheckSerialPort));
        ASSERT_EQ(windows.Boxes().size(), 1u);
        EXPECT_EQ(windows.Boxes()[0].text, "error");
        Tick();
        EXPECT_EQ(Text(sim_control_id::kFailedCommand), "Failed: command 119 (extended)");
    });
    EXPECT_TRUE(sim.Machine().PanelOperation());
}

// Both outcomes of a load check in the demonstration: the usual power
// passes, stiff axes fail.
TEST_F(ControlWindow, TheStiffAxesBoxDecidesTheLoadCheck) {
    RunConsole([&](ui::Dialog& console) {
        for (const char* outcome : {"Completed", "Failed"}) {
            windows.ClearBoxes();
            ASSERT_TRUE(windows.Click(console.window(), console_id::kCheckLoadZ));
            ASSERT_EQ(windows.Boxes().size(), 1u);
            EXPECT_EQ(windows.Boxes()[0].text, outcome);
            ASSERT_TRUE(windows.Click(Window(), sim_control_id::kStiffAxes));
        }
    });
    EXPECT_FALSE(sim.Machine().AxesStiff());
    sim.Machine().SetAxesStiff(true);
    Tick();
    EXPECT_TRUE(Checked(sim_control_id::kStiffAxes));
}

}  // namespace
}  // namespace hw
