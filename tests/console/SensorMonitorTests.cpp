// The console's sensor tick and the panel check, on the headless window
// system: against a scripted device for the exact reply bytes, and against
// the simulated machine for the whole round.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "console/ConsoleDialog.h"
#include "console/ConsoleIds.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeSettingsFile.h"
#include "fakes/FakeVersionBlocks.h"
#include "fakes/FixedProgramFile.h"
#include "link/DeviceChannel.h"
#include "sim/pc/SimEnvironment.h"
#include "sim/pc/SimUserSettings.h"
#include "ui/headless/HeadlessWindowSystem.h"

namespace hw {
namespace {

using Timers = std::vector<ui::HeadlessWindowSystem::TimerState>;

constexpr int kPanelDialog = 137;
constexpr int kExit = 2;
constexpr int kDialLabel = 1087;
const std::string kLostText =
    "The communication was disconnected.\n\"Check Panel\" can't stop in an orderly manner.\n"
    "Please check the connection and retry \"Check Panel\".";

// The sensor labels in the order LimitX, LimitY, LimitZ, LimitA, Cover,
// Z0Nose, PumpSW.
const std::array<int, 7> kSensorIds = {
    console_id::kLimitX, console_id::kLimitY, console_id::kLimitZ,    console_id::kLimitA,
    console_id::kCover,  console_id::kZ0Nose, console_id::kPumpSwitch};

struct KeyLabel {
    int id;
    std::string name;
};
const std::vector<KeyLabel> kKeyLabels = {
    {1078, "+X"},    {1079, "-X"},    {1080, "+Y"},  {1081, "-Y"}, {1082, "+Z"},
    {1083, "-Z"},    {1086, "RAPID"}, {1077, "XY"},  {1076, "Z"},  {1085, "MENU"},
    {1075, "ENTER"}, {1084, "SP"},    {1074, "COPY"}};

using test::FixedProgramFile;

std::vector<std::uint8_t> SensorReply(const std::array<std::uint8_t, 13>& bytes,
                                      std::uint8_t count = 13) {
    std::vector<std::uint8_t> reply(2 + bytes.size(), 0);
    reply[1] = count;
    std::copy(bytes.begin(), bytes.end(), reply.begin() + 2);
    return reply;
}

std::vector<std::uint8_t> KeysReply(std::uint8_t high, std::uint8_t low) {
    return {0, 2, high, low};
}

std::vector<std::uint8_t> DialReply(std::int32_t counter) {
    const auto u = static_cast<std::uint32_t>(counter);
    return {0,
            1,
            0,
            0,
            static_cast<std::uint8_t>(u),
            static_cast<std::uint8_t>(u >> 8),
            static_cast<std::uint8_t>(u >> 16),
            static_cast<std::uint8_t>(u >> 24)};
}

const std::vector<std::uint8_t> kRefusedReply = {1};

// The console on a scripted device; body acts while it is up.
class SensorMonitor : public ::testing::Test {
  protected:
    void SetUp() override { fake.InstallMachine("QMV-240", "USB001", "AAA111"); }

    void Run(const std::function<void(ConsoleDialog&)>& body) {
        windows.OnModal(console_id::kDialog,
                        [&](ui::Dialog& dialog) { body(static_cast<ConsoleDialog&>(dialog)); });
        ConsoleDialog console(services);
        console.DoModal();
    }

    // Runs Check Panel from the console; body acts while the check is up.
    void RunPanelCheck(ConsoleDialog& console, const std::function<void(ui::Dialog&)>& body) {
        windows.OnModal(kPanelDialog, body);
        ASSERT_TRUE(windows.Click(console.window(), console_id::kCheckPanel));
    }

    std::vector<std::string> Texts(ui::WindowId window, const std::vector<int>& ids) const {
        std::vector<std::string> texts;
        for (int item : ids) texts.push_back(windows.Item(window, item).text);
        return texts;
    }

    std::vector<std::string> SensorTexts(const ConsoleDialog& console) const {
        return Texts(console.window(), {kSensorIds.begin(), kSensorIds.end()});
    }

    // The key labels with the named keys ON and every other key off.
    static std::vector<std::string> KeysOn(const std::vector<std::string>& on) {
        std::vector<std::string> texts;
        for (const KeyLabel& key : kKeyLabels) {
            const bool lit = std::find(on.begin(), on.end(), key.name) != on.end();
            texts.push_back(key.name + (lit ? "=ON" : "=__"));
        }
        return texts;
    }

    std::vector<std::string> KeyTexts(ui::WindowId window) const {
        std::vector<int> ids;
        for (const KeyLabel& key : kKeyLabels) ids.push_back(key.id);
        return Texts(window, ids);
    }

    // The requests sent so far, in order: each data phase's payload with the
    // command that its trigger then carried in the command slot.
    std::vector<std::vector<std::uint8_t>> Requests() const {
        std::vector<std::vector<std::uint8_t>> requests;
        std::vector<std::uint8_t> payload;
        for (const auto& call : fake.device.controls) {
            if (call.code != kIoctlVendorSetCommand) continue;
            if (call.input.size() > 4) {
                payload.assign(call.input.begin() + 3, call.input.end());
            } else if (call.input.size() == 4 && !payload.empty()) {
                payload[0] = call.input[3];
                requests.push_back(payload);
            }
        }
        return requests;
    }

    // The command slots of the requests sent after the first `from`.
    std::vector<std::uint8_t> CommandsSince(std::size_t from) const {
        std::vector<std::uint8_t> commands;
        const auto requests = Requests();
        for (std::size_t i = from; i < requests.size(); ++i) commands.push_back(requests[i][0]);
        return commands;
    }

    test::FakePlatform fake;
    ui::HeadlessWindowSystem windows;
    ui::Application app{windows, "Hexwarden"};
    FixedProgramFile program;
    test::FakeFileSystem files;
    test::FakeSettingsFile settings;
    test::FakeVersionBlocks versions;
    SimUserSettings userSettings;
    ConsoleServices services{app, fake.platform, program, files, settings, versions, userSettings};
};

TEST_F(SensorMonitor, SensorLabelsShowTheirBits) {
    struct Case {
        std::array<std::uint8_t, 13> bytes;
        std::vector<std::string> labels;
    };
    const std::vector<std::string> allClear = {"LimitX=__",   "LimitY=__", "LimitZ=__", "LimitA=__",
                                               "Cover=Close", "Z0Nose=__", "PumpSW=ON"};
    auto with = [&](std::size_t index, const std::string& text) {
        auto labels = allClear;
        labels[index] = text;
        return labels;
    };
    const std::vector<Case> cases = {
        {{}, allClear},
        {{0x08}, with(0, "LimitX=ON")},
        {{0x10}, with(1, "LimitY=ON")},
        {{0x20}, with(2, "LimitZ=ON")},
        {{0, 0, 0x10}, with(3, "LimitA=ON")},
        {{0, 0, 0, 0, 0, 0x40}, with(4, "Cover=Open")},
        {{0, 0, 0, 0, 0, 0x01}, with(5, "Z0Nose=ON")},
        {{0, 0, 0, 0, 0x02}, with(6, "PumpSW=__")},
        {{0, 0, 0, 0, 0, 0x41},
         {"LimitX=__", "LimitY=__", "LimitZ=__", "LimitA=__", "Cover=Open", "Z0Nose=ON",
          "PumpSW=ON"}},
        // Bits and bytes that belong to no label.
        {{0xC7, 0xFF, 0xEF, 0xFF, 0xFD, 0xBE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, allClear},
        {{0xFF, 0, 0xFF, 0, 0xFF, 0xFF},
         {"LimitX=ON", "LimitY=ON", "LimitZ=ON", "LimitA=ON", "Cover=Open", "Z0Nose=ON",
          "PumpSW=__"}},
    };
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            fake.device.replies = {SensorReply(c.bytes)};
            console.Send({ui::kWmTimer, 1, 0});
            EXPECT_EQ(SensorTexts(console), c.labels) << int{c.bytes[0]} << " " << int{c.bytes[5]};
        }
    });
}

TEST_F(SensorMonitor, AShortOrFailedReadLeavesTheLabels) {
    Run([&](ConsoleDialog& console) {
        fake.device.replies = {SensorReply({0x08, 0, 0, 0, 0, 0x40})};
        console.Send({ui::kWmTimer, 1, 0});
        const auto shown = SensorTexts(console);
        ASSERT_EQ(shown[0], "LimitX=ON");
        const std::size_t before = Requests().size();
        for (const auto& reply : {SensorReply({}, 12), SensorReply({}, 0), kRefusedReply}) {
            fake.device.replies = {reply};
            console.Send({ui::kWmTimer, 1, 0});
            EXPECT_EQ(SensorTexts(console), shown);
        }
        EXPECT_EQ(CommandsSince(before), (std::vector<std::uint8_t>{17, 17, 17}));
        EXPECT_TRUE(windows.Boxes().empty());
        // The next good read shows again.
        fake.device.replies = {SensorReply({})};
        console.Send({ui::kWmTimer, 1, 0});
        EXPECT_EQ(SensorTexts(console)[0], "LimitX=__");
    });
}

TEST_F(SensorMonitor, EveryTimerMessageRunsTheTick) {
    Run([&](ConsoleDialog& console) {
        const std::size_t before = Requests().size();
        std::uint8_t bit = 0x08;
        for (std::uintptr_t timer : {std::uintptr_t{1}, std::uintptr_t{0}, std::uintptr_t{77}}) {
            fake.device.replies = {SensorReply({bit})};
            console.Send({ui::kWmTimer, timer, 0});
            EXPECT_EQ(SensorTexts(console)[0], bit == 0x08 ? "LimitX=ON" : "LimitX=__") << timer;
            bit ^= 0x08;
        }
        EXPECT_EQ(CommandsSince(before), (std::vector<std::uint8_t>{17, 17, 17}));
    });
}

TEST_F(SensorMonitor, TheTickOfAnOfflineConsoleSendsNothing) {
    fake.device.openablePaths.clear();
    Run([&](ConsoleDialog& console) {
        ASSERT_FALSE(console.IsConnected());
        console.Send({ui::kWmTimer, 1, 0});
        EXPECT_TRUE(fake.device.controls.empty());
        EXPECT_EQ(windows.Item(console.window(), console_id::kLimitX).text, "LimitX=");
        for (int label : kSensorIds) EXPECT_FALSE(windows.Item(console.window(), label).enabled);
        EXPECT_TRUE(windows.Boxes().empty());
        // Check Panel answers "OFFLINE" (the guard) and opens no check.
        ASSERT_TRUE(windows.Click(console.window(), console_id::kCheckPanel));
        EXPECT_EQ(windows.Boxes().size(), 1u);
    });
    EXPECT_TRUE(fake.device.controls.empty());
    EXPECT_EQ(windows.Modals().size(), 1u);  // the console only
}

TEST_F(SensorMonitor, PanelLabelsShowTheirKeyBits) {
    struct Case {
        std::uint8_t high;
        std::uint8_t low;
        std::vector<std::string> on;
    };
    const std::vector<Case> cases = {
        {0x00, 0x08, {"+X"}},
        {0x04, 0x00, {"-X"}},
        {0x10, 0x00, {"+Y"}},
        {0x00, 0x02, {"-Y"}},
        {0x08, 0x00, {"+Z"}},
        {0x00, 0x01, {"-Z"}},
        {0x02, 0x00, {"RAPID"}},
        {0x00, 0x80, {"XY"}},
        {0x20, 0x00, {"Z"}},
        {0x00, 0x40, {"MENU"}},
        {0x00, 0x20, {"ENTER"}},
        {0x00, 0x10, {"SP"}},
        {0x00, 0x04, {"COPY"}},
        // Bits 0x01, 0x40 and 0x80 of byte 0 belong to no key.
        {0xC1, 0x00, {}},
        {0x00, 0x00, {}},
        {0xFF,
         0xFF,
         {"+X", "-X", "+Y", "-Y", "+Z", "-Z", "RAPID", "XY", "Z", "MENU", "ENTER", "SP", "COPY"}},
    };
    Run([&](ConsoleDialog& console) {
        RunPanelCheck(console, [&](ui::Dialog& check) {
            for (const Case& c : cases) {
                fake.device.replies = {KeysReply(c.high, c.low), DialReply(0)};
                ASSERT_TRUE(windows.FireTimer(check.window(), 1));
                EXPECT_EQ(KeyTexts(check.window()), KeysOn(c.on))
                    << int{c.high} << " " << int{c.low};
            }
            EXPECT_TRUE(windows.Boxes().empty());
            windows.Click(check.window(), kExit);
        });
    });
}

TEST_F(SensorMonitor, DialLabelShowsTheCountersSign) {
    Run([&](ConsoleDialog& console) {
        RunPanelCheck(console, [&](ui::Dialog& check) {
            const auto dial = [&] { return windows.Item(check.window(), kDialLabel).text; };
            EXPECT_EQ(dial(), "Dial=");
            const std::vector<std::pair<std::int32_t, std::string>> cases = {
                {-1, "Dial=Minus"},
                {0, "Dial=__"},
                {1, "Dial=Plus"},
                {INT_MIN, "Dial=Minus"},
                {INT_MAX, "Dial=Plus"}};
            for (const auto& [counter, text] : cases) {
                fake.device.replies = {KeysReply(0, 0), DialReply(counter)};
                ASSERT_TRUE(windows.FireTimer(check.window(), 1));
                EXPECT_EQ(dial(), text) << counter;
            }
            // A failed dial read leaves the label.
            fake.device.replies = {KeysReply(0, 0), kRefusedReply};
            ASSERT_TRUE(windows.FireTimer(check.window(), 1));
            EXPECT_EQ(dial(), "Dial=Plus");
            windows.Click(check.window(), kExit);
        });
    });
}

TEST_F(SensorMonitor, ExitWaitsForTheFirstGoodKeyRead) {
    Run([&](ConsoleDialog& console) {
        RunPanelCheck(console, [&](ui::Dialog& check) {
            const ui::WindowId window = check.window();
            EXPECT_EQ(check.Title(), "Check Panel");
            EXPECT_FALSE(windows.Item(window, kExit).enabled);
            EXPECT_FALSE(windows.Click(window, kExit));
            windows.PressEnter(window);
            EXPECT_TRUE(windows.IsUp(window));
            EXPECT_EQ(windows.ActiveTimers(window), (Timers{{1, 200}}));
            // Only the console's sensor timer is stopped while the check runs.
            EXPECT_TRUE(windows.ActiveTimers(console.window()).empty());

            fake.device.replies = {kRefusedReply, DialReply(0)};
            ASSERT_TRUE(windows.FireTimer(window, 1));
            EXPECT_FALSE(windows.Item(window, kExit).enabled);

            fake.device.replies = {KeysReply(0, 0), DialReply(0)};
            ASSERT_TRUE(windows.FireTimer(window, 1));
            EXPECT_TRUE(windows.Item(window, kExit).enabled);
            EXPECT_EQ(windows.FocusedItem(window), kExit);
            // Enter does not reach the focused Exit either.
            windows.PressEnter(window);
            EXPECT_TRUE(windows.IsUp(window));
            ASSERT_TRUE(windows.Click(window, kExit));
        });
        EXPECT_EQ(windows.Modals().back().templateId, kPanelDialog);
        EXPECT_EQ(windows.Modals().back().result, ui::kIdCancel);
    });
}

TEST_F(SensorMonitor, EachFailedKeyReadShowsTheMessageOnceWithTheTimerStopped) {
    Run([&](ConsoleDialog& console) {
        RunPanelCheck(console, [&](ui::Dialog& check) {
            const ui::WindowId window = check.window();
            std::vector<Timers> timersWhileShown;
            windows.OnBox([&](const ui::HeadlessWindowSystem::BoxRecord&) {
                timersWhileShown.push_back(windows.ActiveTimers(window));
                return ui::kIdOk;
            });
            fake.device.replies = {KeysReply(0x00, 0x08), DialReply(0)};
            ASSERT_TRUE(windows.FireTimer(window, 1));
            ASSERT_TRUE(windows.Item(window, kExit).enabled);

            // The dial is still read after the failed key read.
            fake.device.replies = {kRefusedReply, DialReply(-5)};
            ASSERT_TRUE(windows.FireTimer(window, 1));
            // One byte short of a key word.
            fake.device.replies = {{0, 1, 0}, DialReply(-5)};
            ASSERT_TRUE(windows.FireTimer(window, 1));

            ASSERT_EQ(windows.Boxes().size(), 2u);
            for (const auto& box : windows.Boxes()) {
                EXPECT_EQ(box.text, kLostText);
                EXPECT_EQ(box.caption, "Hexwarden");
                EXPECT_EQ(box.style, ui::kMbOk);
                EXPECT_EQ(box.owner, window);
            }
            EXPECT_EQ(timersWhileShown, (std::vector<Timers>{{}, {}}));
            EXPECT_EQ(windows.ActiveTimers(window), (Timers{{1, 200}}));
            EXPECT_FALSE(windows.Item(window, kExit).enabled);
            // The key labels keep what the last good read showed.
            EXPECT_EQ(KeyTexts(window), KeysOn({"+X"}));
            EXPECT_EQ(windows.Item(window, kDialLabel).text, "Dial=Minus");
        });
    });
}

// A machine that keeps every reply pending holds the window for the whole
// time-out of each read: after one such read the ticks stop, until a button
// press or a device change tries again.
TEST_F(SensorMonitor, AReadThatTimesOutStopsTheTicksUntilAButtonOrADeviceChange) {
    Run([&](ConsoleDialog& console) {
        const auto stopped = [&] {
            fake.device.answer = [](std::uint8_t trigger, const std::vector<std::uint8_t>&) {
                return std::vector<std::uint8_t>{trigger};  // still pending
            };
            ASSERT_TRUE(windows.FireTimer(console.window(), 1));
            EXPECT_EQ(console.Title(), "Hexwarden - QMV-240 on USB001 (not answering)");
            EXPECT_TRUE(windows.ActiveTimers(console.window()).empty());
            fake.device.answer = nullptr;
        };
        const auto resumed = [&] {
            EXPECT_EQ(console.Title(), "Hexwarden - QMV-240 on USB001");
            EXPECT_EQ(windows.ActiveTimers(console.window()), (Timers{{1, 500}}));
        };
        stopped();
        console.Send({ui::kWmDeviceChange, ui::kDbtDevNodesChanged, 0});
        resumed();
        stopped();
        ASSERT_TRUE(windows.Click(console.window(), console_id::kReadSpindle));
        resumed();
    });
}

TEST_F(SensorMonitor, CheckPanelSwitchesThePanelOverAndBack) {
    Run([&](ConsoleDialog& console) {
        ASSERT_EQ(windows.ActiveTimers(console.window()), (Timers{{1, 500}}));
        const std::size_t before = Requests().size();
        RunPanelCheck(console, [&](ui::Dialog& check) {
            fake.device.replies = {KeysReply(0, 0), DialReply(0)};
            ASSERT_TRUE(windows.FireTimer(check.window(), 1));
            ASSERT_TRUE(windows.Click(check.window(), kExit));
            // The check's own timer is gone before the dialog ends.
            EXPECT_TRUE(windows.ActiveTimers(check.window()).empty());
        });
        const auto requests = Requests();
        const std::vector<std::vector<std::uint8_t>> expected = {
            {0x38, 0x00, 50, 0},    // panel operation off
            {16, 0x00},             // keys
            {18, 0x40, 0, 0},       // dial counter
            {20, 0x02, 254, 0x7F},  // panel text 0x7F, untimed
            {0x38, 0x00, 50, 1},    // panel operation on
            {96, 0x01, 0},          // panel mode 0
        };
        ASSERT_EQ(requests.size(), before + expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const auto& sent = requests[before + i];
            EXPECT_EQ(
                std::vector<std::uint8_t>(
                    sent.begin(), sent.begin() + static_cast<std::ptrdiff_t>(expected[i].size())),
                expected[i])
                << i;
        }
        EXPECT_EQ(windows.ActiveTimers(console.window()), (Timers{{1, 500}}));
        EXPECT_EQ(console.SensorTimerId(), 1);
    });
}

TEST_F(SensorMonitor, TheCheckEndsInOrderWhateverTheMachineAnswers) {
    Run([&](ConsoleDialog& console) {
        const std::size_t before = Requests().size();
        fake.device.standingReply[0] = 1;  // every command refused from here on
        RunPanelCheck(console, [&](ui::Dialog& check) {
            EXPECT_FALSE(windows.Item(check.window(), kExit).enabled);
            // The close box runs the Exit sequence too.
            windows.PressCloseBox(check.window());
        });
        EXPECT_EQ(windows.Modals().back().templateId, kPanelDialog);
        EXPECT_EQ(CommandsSince(before), (std::vector<std::uint8_t>{0x38, 20, 0x38, 96}));
        EXPECT_EQ(windows.ActiveTimers(console.window()), (Timers{{1, 500}}));
    });
}

// The console on the simulated machine.
class SimulatedSensors : public ::testing::Test {
  protected:
    void Run(const std::function<void(ConsoleDialog&)>& body) {
        windows.OnModal(console_id::kDialog,
                        [&](ui::Dialog& dialog) { body(static_cast<ConsoleDialog&>(dialog)); });
        ConsoleDialog console(services);
        console.DoModal();
    }

    std::string Text(const ui::Dialog& dialog, int item) const {
        return windows.Item(dialog.window(), item).text;
    }

    SimMachine& Machine() { return sim.Machine(); }

    TestClock clock{1};
    SimEnvironment sim{clock};
    ui::HeadlessWindowSystem windows;
    ui::Application app{windows, "Hexwarden"};
    FixedProgramFile program;
    test::FakeFileSystem files;
    test::FakeSettingsFile settings;
    test::FakeVersionBlocks versions;
    SimUserSettings userSettings;
    ConsoleServices services{app, sim.Platform(), program, files, settings, versions, userSettings};
};

TEST_F(SimulatedSensors, SensorLabelsFollowTheMachine) {
    Run([&](ConsoleDialog& console) {
        ASSERT_TRUE(console.IsConnected());
        ASSERT_TRUE(windows.FireTimer(console.window(), 1));
        // At its origin the machine stands on its X, Y, Z and A home switches.
        EXPECT_EQ(Text(console, console_id::kLimitX), "LimitX=ON");
        EXPECT_EQ(Text(console, console_id::kLimitA), "LimitA=ON");
        EXPECT_EQ(Text(console, console_id::kCover), "Cover=Close");
        EXPECT_EQ(Text(console, console_id::kPumpSwitch), "PumpSW=__");

        Machine().SetCoverOpen(true);
        Machine().SetNoseTouching(true);
        Machine().SetPumpSwitch(true);
        Machine().HoldLimitSwitch(kSimAxisX, false);
        ASSERT_TRUE(windows.FireTimer(console.window(), 1));
        EXPECT_EQ(Text(console, console_id::kCover), "Cover=Open");
        EXPECT_EQ(Text(console, console_id::kZ0Nose), "Z0Nose=ON");
        EXPECT_EQ(Text(console, console_id::kPumpSwitch), "PumpSW=ON");
        EXPECT_EQ(Text(console, console_id::kLimitX), "LimitX=__");
        EXPECT_EQ(Text(console, console_id::kLimitY), "LimitY=ON");
    });
}

TEST_F(SimulatedSensors, SensorLabelsAreGreyWhileTheMachineIsUnplugged) {
    Run([&](ConsoleDialog& console) {
        const auto enabled = [&] {
            std::vector<bool> states;
            for (int label : kSensorIds)
                states.push_back(windows.Item(console.window(), label).enabled);
            return states;
        };
        ASSERT_TRUE(windows.FireTimer(console.window(), 1));
        const std::string limitX = Text(console, console_id::kLimitX);
        EXPECT_EQ(enabled(), std::vector<bool>(7, true));
        sim.Unplug();
        console.Send({ui::kWmDeviceChange, ui::kDbtDevNodesChanged, 0});
        EXPECT_EQ(enabled(), std::vector<bool>(7, false));
        EXPECT_EQ(Text(console, console_id::kLimitX), limitX);
        sim.PlugIn();
        console.Send({ui::kWmDeviceChange, ui::kDbtDevNodesChanged, 0});
        EXPECT_EQ(enabled(), std::vector<bool>(7, true));
    });
}

TEST_F(SimulatedSensors, PanelCheckFollowsThePanelAndHandsItBack) {
    Machine().SetPanelMode(3);
    Run([&](ConsoleDialog& console) {
        windows.OnModal(kPanelDialog, [&](ui::Dialog& check) {
            EXPECT_FALSE(Machine().PanelOperation());
            Machine().SetKeys(0x0008 | 0x0080);
            Machine().TurnDial(-1);
            ASSERT_TRUE(windows.FireTimer(check.window(), 1));
            EXPECT_EQ(Text(check, 1078), "+X=ON");
            EXPECT_EQ(Text(check, 1077), "XY=ON");
            EXPECT_EQ(Text(check, 1079), "-X=__");
            EXPECT_EQ(Text(check, kDialLabel), "Dial=Minus");
            Machine().SetKeys(0);
            Machine().TurnDial(1);
            ASSERT_TRUE(windows.FireTimer(check.window(), 1));
            EXPECT_EQ(Text(check, 1078), "+X=__");
            EXPECT_EQ(Text(check, kDialLabel), "Dial=__");
            ASSERT_TRUE(windows.Click(check.window(), kExit));
        });
        ASSERT_TRUE(windows.Click(console.window(), console_id::kCheckPanel));
        EXPECT_TRUE(Machine().PanelOperation());
        EXPECT_EQ(Machine().PanelText(), "\x7F");
        EXPECT_EQ(Machine().PanelTextTime(), 254);
        EXPECT_EQ(Machine().PanelMode(), 0);
        EXPECT_EQ(console.SensorTimerId(), 1);
    });
}

TEST_F(SimulatedSensors, APulledCableDuringTheCheckAsksForTheConnection) {
    Run([&](ConsoleDialog& console) {
        windows.OnModal(kPanelDialog, [&](ui::Dialog& check) {
            ASSERT_TRUE(windows.FireTimer(check.window(), 1));
            ASSERT_TRUE(windows.Item(check.window(), kExit).enabled);
            sim.Unplug();
            console.Send({ui::kWmDeviceChange, ui::kDbtDevNodesChanged, 0});
            ASSERT_FALSE(console.IsConnected());
            // The technician plugs the cable back in while the message is up.
            windows.OnBox([&](const ui::HeadlessWindowSystem::BoxRecord& box) {
                EXPECT_EQ(box.text, kLostText);
                sim.PlugIn();
                console.Send({ui::kWmDeviceChange, ui::kDbtDevNodesChanged, 0});
                return ui::kIdOk;
            });
            ASSERT_TRUE(windows.FireTimer(check.window(), 1));
            EXPECT_FALSE(windows.Item(check.window(), kExit).enabled);
            ASSERT_TRUE(console.IsConnected());
            Machine().SetKeys(0x0004);
            ASSERT_TRUE(windows.FireTimer(check.window(), 1));
            EXPECT_TRUE(windows.Item(check.window(), kExit).enabled);
            EXPECT_EQ(Text(check, 1074), "COPY=ON");
            EXPECT_EQ(windows.Boxes().size(), 1u);
            ASSERT_TRUE(windows.Click(check.window(), kExit));
        });
        ASSERT_TRUE(windows.Click(console.window(), console_id::kCheckPanel));
        EXPECT_TRUE(Machine().PanelOperation());
        EXPECT_EQ(windows.ActiveTimers(console.window()), (Timers{{1, 500}}));
    });
}

}  // namespace
}  // namespace hw
