// The demonstration's control window on the headless window system: each box
// and button acts on the simulated machine, the boxes follow the machine, and
// the console's sensor labels and panel check show what was done.
#include <gtest/gtest.h>

#include <array>
#include <string_view>
#include <vector>

#include "SimControlWindow.h"
#include "SimEnvironment.h"
#include "commands/MachineLink.h"
#include "console/ConsoleDialog.h"
#include "console/ConsoleIds.h"
#include "fakes/FakeFileSystem.h"
#include "ui/headless/HeadlessWindowSystem.h"
#include "ui/headless/ResourceScript.h"

namespace hw {

// The demonstration's resource script, built into this test.
std::string_view DemoControlsText();

namespace {

namespace id = sim_control_id;
using Timers = std::vector<ui::HeadlessWindowSystem::TimerState>;
using Bytes = std::array<std::uint8_t, kSimSensorBytes>;

// The program's dialogs with the demonstration's beside them.
ui::ResourceScript DemoResources() {
    ui::ResourceScript script = ui::ProgramResources();
    ui::ResourceScript demo = ui::ParseResourceScript(DemoControlsText());
    script.dialogs.merge(demo.dialogs);
    return script;
}

class FixedProgramFile final : public ProgramFile {
  public:
    std::string Path() override { return "C:\\Tools\\HexwardenDemo.exe"; }
};

class ControlWindow : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(controls.Create(ui::kNoWindow)); }

    ui::WindowId Window() const { return controls.window(); }
    bool Checked(int item) const { return windows.Item(Window(), item).checked; }
    bool Enabled(int item) const { return windows.Item(Window(), item).enabled; }
    Bytes Sensors() { return sim.Machine().SensorBytes(); }

    TestClock clock{1};
    SimEnvironment sim{clock};
    ui::ResourceScript resources = DemoResources();
    ui::HeadlessWindowSystem windows{resources};
    ui::Application app{windows, "HexwardenDemo"};
    SimControlWindow controls{app, sim};
};

TEST_F(ControlWindow, OpensBesideTheConsoleShowingTheMachine) {
    const ui::DialogTemplate& tmpl = resources.dialogs.at(id::kDialog);
    EXPECT_GE(tmpl.rect.left, resources.dialogs.at(console_id::kDialog).rect.right);
    EXPECT_EQ(controls.Title(), "Simulated QMV-240");
    // At its origin the machine stands on its four home switches.
    for (int sensor = id::kFirstSensor; sensor <= id::kFirstSensor + 3; ++sensor) {
        EXPECT_TRUE(Checked(sensor)) << sensor;
    }
    for (int sensor = id::kFirstSensor + 4; sensor <= id::kLastSensor; ++sensor) {
        EXPECT_FALSE(Checked(sensor)) << sensor;
    }
    for (int key = id::kFirstKey; key <= id::kLastKey; ++key) EXPECT_FALSE(Checked(key)) << key;
    EXPECT_FALSE(Checked(id::kUpdateMode));
    EXPECT_TRUE(Enabled(id::kUnplug));
    EXPECT_FALSE(Enabled(id::kPlugIn));
    EXPECT_EQ(windows.ActiveTimers(Window()), (Timers{{1, 500}}));
}

TEST_F(ControlWindow, EachSensorBoxChangesItsOwnBit) {
    struct Case {
        int box;
        std::size_t byte;
        std::uint8_t mask;
    };
    const std::vector<Case> cases = {
        {901, 0, 0x08}, {902, 0, 0x10}, {903, 0, 0x20}, {904, 2, 0x10},
        {905, 5, 0x40}, {906, 5, 0x01}, {907, 4, 0x02},
    };
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

TEST_F(ControlWindow, KeyBoxesHoldTheirKeys) {
    const std::vector<std::uint16_t> bits = {0x0008, 0x0400, 0x1000, 0x0002, 0x0800, 0x0001, 0x0200,
                                             0x0080, 0x2000, 0x0040, 0x0020, 0x0010, 0x0004};
    ASSERT_EQ(bits.size(), static_cast<std::size_t>(id::kLastKey - id::kFirstKey + 1));
    for (std::size_t i = 0; i < bits.size(); ++i) {
        const int box = id::kFirstKey + static_cast<int>(i);
        ASSERT_TRUE(windows.Click(Window(), box));
        EXPECT_EQ(sim.Machine().PanelKeys(), bits[i]) << box;
        ASSERT_TRUE(windows.Click(Window(), box));
        EXPECT_EQ(sim.Machine().PanelKeys(), 0) << box;
    }
    ASSERT_TRUE(windows.Click(Window(), id::kFirstKey));
    ASSERT_TRUE(windows.Click(Window(), id::kLastKey));
    EXPECT_EQ(sim.Machine().PanelKeys(), 0x0008 | 0x0004);
}

TEST_F(ControlWindow, DialButtonsTurnTheDialEitherWay) {
    const std::int32_t start = sim.Machine().DialCounter();
    ASSERT_TRUE(windows.Click(Window(), id::kDialMinus));
    ASSERT_TRUE(windows.Click(Window(), id::kDialMinus));
    EXPECT_EQ(sim.Machine().DialCounter(), start - 2);
    ASSERT_TRUE(windows.Click(Window(), id::kDialPlus));
    EXPECT_EQ(sim.Machine().DialCounter(), start - 1);
}

TEST_F(ControlWindow, CableButtonsUnplugAndPlugBackIn) {
    int changes = 0;
    sim.OnDeviceChange([&changes] { ++changes; });
    ASSERT_TRUE(windows.Click(Window(), id::kUnplug));
    EXPECT_FALSE(sim.Plugged());
    EXPECT_FALSE(Enabled(id::kUnplug));
    EXPECT_TRUE(Enabled(id::kPlugIn));
    ASSERT_TRUE(windows.Click(Window(), id::kPlugIn));
    EXPECT_TRUE(sim.Plugged());
    EXPECT_TRUE(Enabled(id::kUnplug));
    EXPECT_FALSE(Enabled(id::kPlugIn));
    EXPECT_EQ(changes, 2);
}

TEST_F(ControlWindow, UpdateModeBoxEntersAndLeavesUpdateMode) {
    ASSERT_TRUE(windows.Click(Window(), id::kUpdateMode));
    EXPECT_NE(sim.Machine().StatusWord() & kSimStatusUpdateMode, 0);
    ASSERT_TRUE(windows.Click(Window(), id::kUpdateMode));
    EXPECT_EQ(sim.Machine().StatusWord() & kSimStatusUpdateMode, 0);
}

TEST_F(ControlWindow, FailNextCommandFailsOneCommand) {
    MachineLink link(sim.Platform());
    ASSERT_EQ(link.FindPrinters(kSimDriverName), 1);
    ASSERT_TRUE(link.Connect(*link.PrinterName(0), 0, 32, false));
    ASSERT_TRUE(windows.Click(Window(), id::kFailNextCommand));
    EXPECT_EQ(link.GetStatusWord(), kStatusNoAnswer);
    EXPECT_NE(link.GetStatusWord(), kStatusNoAnswer);
}

TEST_F(ControlWindow, BoxesFollowTheMachineOnEachTick) {
    sim.Machine().SetCoverOpen(true);
    sim.Machine().SetPumpSwitch(true);
    sim.Machine().EnterUpdateMode();
    sim.Unplug();
    EXPECT_FALSE(Checked(905));
    ASSERT_TRUE(windows.FireTimer(Window(), 1));
    EXPECT_TRUE(Checked(905));
    EXPECT_TRUE(Checked(907));
    EXPECT_TRUE(Checked(id::kUpdateMode));
    EXPECT_FALSE(Enabled(id::kUnplug));
    EXPECT_TRUE(Enabled(id::kPlugIn));
}

TEST_F(ControlWindow, OnlyTheCloseBoxClosesIt) {
    windows.PressEnter(Window());
    EXPECT_TRUE(windows.IsUp(Window()));
    const ui::WindowId window = Window();
    windows.PressCloseBox(window);
    EXPECT_FALSE(windows.IsUp(window));
    EXPECT_EQ(controls.window(), ui::kNoWindow);
}

// What a person running the demonstration sees: the console follows the
// boxes clicked in the control window.
TEST_F(ControlWindow, TheConsoleShowsWhatWasDone) {
    FixedProgramFile program;
    test::FakeFileSystem files;
    ConsoleServices services{app, sim.Platform(), program, files};
    windows.OnModal(console_id::kDialog, [&](ui::Dialog& console) {
        ASSERT_TRUE(windows.Click(Window(), 905));  // cover open
        ASSERT_TRUE(windows.FireTimer(console.window(), 1));
        EXPECT_EQ(windows.Item(console.window(), console_id::kCover).text, "Cover=Open");

        windows.OnModal(137, [&](ui::Dialog& check) {
            ASSERT_TRUE(windows.Click(Window(), 911));  // +X held
            ASSERT_TRUE(windows.Click(Window(), id::kDialPlus));
            ASSERT_TRUE(windows.FireTimer(check.window(), 1));
            EXPECT_EQ(windows.Item(check.window(), 1078).text, "+X=ON");
            EXPECT_EQ(windows.Item(check.window(), 1087).text, "Dial=Plus");
            // A command that fails: the check says the connection is lost.
            ASSERT_TRUE(windows.Click(Window(), id::kFailNextCommand));
            ASSERT_TRUE(windows.FireTimer(check.window(), 1));
            ASSERT_EQ(windows.Boxes().size(), 1u);
            EXPECT_FALSE(windows.Item(check.window(), 2).enabled);
            ASSERT_TRUE(windows.FireTimer(check.window(), 1));
            ASSERT_TRUE(windows.Click(check.window(), 2));
        });
        ASSERT_TRUE(windows.Click(console.window(), console_id::kCheckPanel));
    });
    ConsoleDialog console(services);
    console.DoModal();
    EXPECT_TRUE(sim.Machine().PanelOperation());
}

}  // namespace
}  // namespace hw
