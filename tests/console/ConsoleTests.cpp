#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "console/ConsoleApp.h"
#include "console/ConsoleDialog.h"
#include "console/ConsoleIds.h"
#include "console/MachineSession.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeSettingsFile.h"
#include "fakes/FakeVersionBlocks.h"
#include "fakes/FixedProgramFile.h"
#include "link/Discovery.h"
#include "link/StartupTimer.h"
#include "sim/pc/SimUserSettings.h"
#include "ui/headless/HeadlessWindowSystem.h"

namespace hw {
namespace {

using test::FakePlatform;

// A version reply: status 0, the count, the text and its NUL.
std::vector<std::uint8_t> VersionReply(const std::string& text) {
    std::vector<std::uint8_t> reply(text.size() + 3, 0);
    reply[1] = static_cast<std::uint8_t>(text.size() + 1);
    for (std::size_t i = 0; i < text.size(); ++i) reply[2 + i] = static_cast<std::uint8_t>(text[i]);
    return reply;
}

// Every button whose procedure talks to the machine.
const std::vector<int> kGuardedButtons = {
    console_id::kGetReport,       console_id::kGetParameters, console_id::kPutParameters,
    console_id::kWriteXY,         console_id::kWriteSerial,   console_id::kClearSpindleTime,
    console_id::kCheckSerialPort, console_id::kCheckLoadX,    console_id::kCheckLoadY,
    console_id::kCheckLoadZ,      console_id::kCorrectionCut, console_id::kOutputFile,
    console_id::kStartAging,      console_id::kReadSpindle,   console_id::kClearPumpTime,
    console_id::kWriteY0,         console_id::kWriteLaser,    console_id::kCheckLoadA,
    console_id::kCheckPanel,      console_id::kToolPosition,  console_id::kCalcWriteLaser,
    console_id::kCalcWriteY0};

const std::vector<int> kBacklashGroup = {console_id::kBacklashCheck, console_id::kBacklashDetails,
                                         console_id::kBacklashGroup, console_id::kBacklashAngle,
                                         console_id::kBacklashValue};

// The simulated PC's registry, on which each walk from the USB printing
// nodes takes 2.5 ms of the fine clock.
class SlowRegistry final : public Registry {
  public:
    SlowRegistry(Registry& registry, test::FakeSystem& system)
        : registry(registry), system(system) {}

    bool OpenKey(OsHandle parent, const std::string& subkey, OsHandle& key) override {
        if (subkey == kNtPrintRoot) system.microseconds += 2500;
        return registry.OpenKey(parent, subkey, key);
    }
    EnumKeyOutcome EnumSubkey(OsHandle key, std::uint32_t index, std::string& name) override {
        return registry.EnumSubkey(key, index, name);
    }
    bool QueryValue(OsHandle key, const std::string& valueName, std::string& value) override {
        return registry.QueryValue(key, valueName, value);
    }
    void CloseKey(OsHandle key) override { registry.CloseKey(key); }

  private:
    Registry& registry;
    test::FakeSystem& system;
};

class Console : public ::testing::Test {
  protected:
    // Runs the console modally; body acts while it is up. A console body
    // left up ends with IDCANCEL, and is destroyed when Run returns.
    int Run(const std::function<void(ConsoleDialog&)>& body) {
        windows.OnModal(console_id::kDialog,
                        [&](ui::Dialog& dialog) { body(static_cast<ConsoleDialog&>(dialog)); });
        ConsoleDialog console(services);
        return console.DoModal();
    }

    bool BacklashGroupEnabled(const ConsoleDialog& console) const {
        int enabled = 0;
        for (int item : kBacklashGroup) enabled += windows.Item(console.window(), item).enabled;
        EXPECT_TRUE(enabled == 0 || enabled == 5);
        return enabled == 5;
    }

    std::vector<ui::HeadlessWindowSystem::TimerState> Timers(const ConsoleDialog& console) const {
        return windows.ActiveTimers(console.window());
    }

    void SendDeviceChange(ConsoleDialog& console, std::uintptr_t event) {
        console.Send({ui::kWmDeviceChange, event, 0});
    }

    FakePlatform fake;
    ui::HeadlessWindowSystem windows;
    ui::Application app{windows, "Hexwarden"};
    test::FixedProgramFile program;
    test::FakeFileSystem files;
    test::FakeSettingsFile settings;
    test::FakeVersionBlocks versions;
    SimUserSettings userSettings;
    ConsoleServices services{app, fake.platform, program, files, settings, versions, userSettings};
    const std::vector<ui::HeadlessWindowSystem::TimerState> kSensorTimer = {{1, 500}};
};

TEST_F(Console, WithoutAMachineEverythingIsOffline) {
    fake.spooler.printers.push_back({"Office", "LPT1:", "Laser Writer"});
    Run([&](ConsoleDialog& console) {
        EXPECT_EQ(console.Title(), "Hexwarden - OFFLINE");
        EXPECT_TRUE(Timers(console).empty());
        EXPECT_EQ(console.SensorTimerId(), -1);
        EXPECT_FALSE(BacklashGroupEnabled(console));
        for (int button : kGuardedButtons) {
            windows.ClearBoxes();
            ASSERT_TRUE(windows.Click(console.window(), button)) << button;
            ASSERT_EQ(windows.Boxes().size(), 1u) << button;
            EXPECT_EQ(windows.Boxes()[0].text, "OFFLINE");
            EXPECT_EQ(windows.Boxes()[0].caption, "Hexwarden");
            EXPECT_EQ(windows.Boxes()[0].style, ui::kMbIconHand);
        }
    });
    EXPECT_TRUE(fake.device.controls.empty());
}

TEST_F(Console, ConnectsToTheFirstMachineQueueThatOpens) {
    const auto first = fake.InstallMachine("QMV-240 (front)", "USB001", "AAA111");
    fake.InstallMachine("QMV-240 (back)", "USB002", "BBB222");
    fake.device.openablePaths.erase(first);
    Run([&](ConsoleDialog& console) {
        EXPECT_TRUE(console.IsConnected());
        EXPECT_EQ(console.Title(), "Hexwarden - QMV-240 (back) on USB002");
        EXPECT_EQ(Timers(console), kSensorTimer);
        EXPECT_EQ(console.SettingsPath(), "C:\\Tools\\Hexwarden.INI");
    });
}

TEST_F(Console, ADriverNameDifferingInCaseIsNotTheMachine) {
    fake.InstallMachine("QMV-240", "USB001", "AAA111");
    fake.spooler.printers[0].driverName = "varnel QMV-240";
    Run([&](ConsoleDialog& console) {
        EXPECT_FALSE(console.IsConnected());
        EXPECT_EQ(console.Title(), "Hexwarden - OFFLINE");
    });
    EXPECT_TRUE(fake.device.opens.empty());
}

TEST_F(Console, AProgramPathWithoutBackslashLeavesTheTemplateTitle) {
    fake.InstallMachine("QMV-240", "USB001", "AAA111");
    program.path = "Hexwarden.exe";
    Run([&](ConsoleDialog& console) {
        EXPECT_EQ(console.Title(), "Hexwarden");
        EXPECT_FALSE(console.IsConnected());
        EXPECT_TRUE(Timers(console).empty());
    });
    EXPECT_TRUE(fake.device.opens.empty());
}

TEST_F(Console, PanelTypeDecidesTheBacklashGroup) {
    struct Case {
        std::string version;
        bool enabled;
    };
    for (const Case& c : {Case{"QMV V2.10 PNL-J3", true}, Case{"QMV V2.10 PNL-K", false},
                          Case{"QMV J V2.10 PNL", false}, Case{"QMV V2.10", false}}) {
        FakePlatform machine;
        machine.InstallMachine("QMV-240", "USB001", "AAA111");
        machine.device.replies = {VersionReply(c.version)};
        ConsoleServices local{app,      machine.platform, program,     files,
                              settings, versions,         userSettings};
        windows.OnModal(console_id::kDialog, [&](ui::Dialog& dialog) {
            EXPECT_EQ(BacklashGroupEnabled(static_cast<ConsoleDialog&>(dialog)), c.enabled)
                << c.version;
        });
        ConsoleDialog console(local);
        console.DoModal();
    }
}

// The session reads the panel type each time the machine comes back; a
// version text that was refused or names no panel leaves the type it knew.
TEST(MachineSession, AFailedVersionQueryKeepsThePanelType) {
    FakePlatform fake;
    const auto path = fake.InstallMachine("QMV-240", "USB001", "AAA111");
    fake.device.replies = {VersionReply("PNL J")};
    MachineSession session(fake.platform);
    ASSERT_TRUE(session.ConnectFirst());
    ASSERT_TRUE(session.PanelTypeJ());
    for (const auto& reply : {test::Reply({1}), VersionReply("no panel named")}) {
        fake.device.deviceIdFails = true;
        fake.device.openablePaths.erase(path);
        ASSERT_TRUE(session.Recheck());
        fake.device.deviceIdFails = false;
        fake.device.openablePaths.insert(path);
        fake.device.replies = {reply};
        ASSERT_TRUE(session.Recheck());
        EXPECT_TRUE(session.PanelTypeJ());
        EXPECT_TRUE(fake.device.replies.empty());
    }
    EXPECT_EQ(session.Firmware(), "no panel named");
}

// Every queue of the driver is listed with its port, device and firmware,
// one whose device is gone too, and the session is back on its machine.
TEST(MachineSession, FindsEveryMachineAndStaysOnItsOwn) {
    FakePlatform fake;
    fake.InstallMachine("QMV-240", "USB001", "AAA111");
    const auto gone = fake.InstallMachine("QMV-240 (Copy 1)", "USB002", "BBB222");
    fake.device.openablePaths.erase(gone);
    fake.device.replies = {VersionReply("first")};
    MachineSession session(fake.platform);
    ASSERT_TRUE(session.ConnectFirst());
    // Its own machine is described as the session knows it: not reopened.
    const auto found = session.FindMachines();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].port, "USB001");
    EXPECT_EQ(found[0].instance, "AAA111");
    EXPECT_TRUE(found[0].connects);
    EXPECT_EQ(found[0].firmware, "first");
    EXPECT_EQ(found[1].queue, "QMV-240 (Copy 1)");
    EXPECT_EQ(found[1].port, "USB002");
    EXPECT_EQ(found[1].devicePath, gone);
    EXPECT_EQ(found[1].instance, "BBB222");
    EXPECT_FALSE(found[1].connects);
    EXPECT_TRUE(found[1].firmware.empty());
    EXPECT_TRUE(session.Connected());
    EXPECT_EQ(session.QueueAndPort(), "QMV-240 on USB001");
    EXPECT_EQ(session.Firmware(), "first");
}

TEST_F(Console, UnplugAndPlugBackIn) {
    const auto path = fake.InstallMachine("QMV-240", "USB001", "AAA111");
    fake.device.replies = {VersionReply("PNL J")};
    Run([&](ConsoleDialog& console) {
        ASSERT_TRUE(console.IsConnected());
        fake.device.deviceIdFails = true;
        fake.device.openablePaths.erase(path);
        SendDeviceChange(console, ui::kDbtDevNodesChanged);
        EXPECT_EQ(console.Title(), "Hexwarden - OFFLINE");
        EXPECT_TRUE(Timers(console).empty());
        EXPECT_FALSE(BacklashGroupEnabled(console));

        fake.device.openablePaths.insert(path);
        fake.device.replies = {VersionReply("PNL J")};
        SendDeviceChange(console, ui::kDbtDevNodesChanged);
        EXPECT_EQ(console.Title(), "Hexwarden - QMV-240 on USB001");
        EXPECT_EQ(Timers(console), kSensorTimer);
        EXPECT_TRUE(BacklashGroupEnabled(console));
        EXPECT_TRUE(fake.device.replies.empty());  // the version was read again
    });
}

TEST_F(Console, OnlyDeviceNodeChangesAreFollowed) {
    const auto path = fake.InstallMachine("QMV-240", "USB001", "AAA111");
    Run([&](ConsoleDialog& console) {
        console.SetTitle("changed by hand");
        fake.device.deviceIdFails = true;
        fake.device.openablePaths.erase(path);
        const auto before = fake.device.controls.size();
        for (std::uintptr_t event : {0x0018u, 0x8000u, 0x8004u}) {
            EXPECT_EQ(console.Send({ui::kWmDeviceChange, event, 0}), 1);
        }
        EXPECT_EQ(fake.device.controls.size(), before);
        EXPECT_TRUE(console.IsConnected());
        EXPECT_EQ(console.Title(), "changed by hand");
        EXPECT_EQ(Timers(console), kSensorTimer);
        // A change that keeps the device answering still refreshes the title.
        fake.device.deviceIdFails = false;
        SendDeviceChange(console, ui::kDbtDevNodesChanged);
        EXPECT_EQ(console.Title(), "Hexwarden - QMV-240 on USB001");
    });
}

TEST_F(Console, SensorPollingStartsOnlyOnlineAndStopsOnce) {
    fake.InstallMachine("QMV-240", "USB001", "AAA111");
    Run([&](ConsoleDialog& console) {
        console.Polling().Pause();
        console.Polling().Pause();
        EXPECT_EQ(windows.KillTimerCalls(console.window()), 1);
        EXPECT_EQ(console.SensorTimerId(), -1);
        EXPECT_TRUE(Timers(console).empty());
        console.Polling().Resume();
        console.Polling().Resume();
        EXPECT_EQ(Timers(console), kSensorTimer);
        EXPECT_EQ(console.SensorTimerId(), 1);
    });
    FakePlatform offline;
    ConsoleServices local{app, offline.platform, program, files, settings, versions, userSettings};
    windows.OnModal(console_id::kDialog, [&](ui::Dialog& dialog) {
        auto& console = static_cast<ConsoleDialog&>(dialog);
        console.Polling().Resume();
        EXPECT_TRUE(Timers(console).empty());
        EXPECT_EQ(console.SensorTimerId(), -1);
    });
    ConsoleDialog console(local);
    console.DoModal();
}

// While a procedure has paused the polling, the machine coming back does
// not restart it; the procedure's end does.
TEST_F(Console, ADeviceChangeLeavesPausedPollingToItsProcedure) {
    const auto path = fake.InstallMachine("QMV-240", "USB001", "AAA111");
    Run([&](ConsoleDialog& console) {
        console.Polling().Pause();
        fake.device.deviceIdFails = true;
        fake.device.openablePaths.erase(path);
        SendDeviceChange(console, ui::kDbtDevNodesChanged);
        fake.device.deviceIdFails = false;
        fake.device.openablePaths.insert(path);
        SendDeviceChange(console, ui::kDbtDevNodesChanged);
        ASSERT_TRUE(console.IsConnected());
        EXPECT_TRUE(Timers(console).empty());
        console.Polling().Resume();
        EXPECT_EQ(Timers(console), kSensorTimer);
    });
}

TEST_F(Console, CloseKillsTheTimerAndDisconnects) {
    fake.InstallMachine("QMV-240", "USB001", "AAA111");
    const int result = Run([&](ConsoleDialog& console) {
        ASSERT_TRUE(windows.Click(console.window(), console_id::kClose));
        EXPECT_TRUE(Timers(console).empty());
        EXPECT_EQ(fake.device.closes.size(), 1u);
    });
    EXPECT_EQ(result, ui::kIdOk);
}

// Enter (in an edit, or on a focused button) and Esc leave the console and
// what was typed; the close box closes it as Close does.
TEST_F(Console, OnlyCloseAndTheCloseBoxEndIt) {
    fake.InstallMachine("QMV-240", "USB001", "AAA111");
    const int result = Run([&](ConsoleDialog& console) {
        const ui::WindowId window = console.window();
        windows.Type(window, console_id::kSerialNumber, "AB12345");
        windows.PressEnter(window);
        windows.items.FocusItem(window, console_id::kClose);
        windows.PressEnter(window);
        windows.PressEscape(window);
        ASSERT_TRUE(windows.IsUp(window));
        EXPECT_EQ(console.ItemText(console_id::kSerialNumber), "AB12345");
        EXPECT_EQ(Timers(console), kSensorTimer);

        windows.PressCloseBox(window);
        EXPECT_FALSE(windows.IsUp(window));
        EXPECT_TRUE(Timers(console).empty());
        EXPECT_EQ(fake.device.closes.size(), 1u);
    });
    EXPECT_EQ(result, ui::kIdOk);
}

TEST_F(Console, DestructionClosesTheLink) {
    fake.InstallMachine("QMV-240", "USB001", "AAA111");
    Run([&](ConsoleDialog&) {});
    EXPECT_EQ(fake.device.closes.size(), 1u);
}

TEST_F(Console, SystemMenuCarriesTheAboutAndBundleEntries) {
    // The About box reads the program file's own version block.
    versions.files["C:\\Tools\\Hexwarden.exe"] = {
        {{{0x0409, 0x04B0}}},
        {{"\\StringFileInfo\\040904b0\\FileVersion", "1"},
         {"\\StringFileInfo\\040904b0\\InternalName", "Program"}}};
    std::vector<std::string> aboutTitles;
    windows.OnModal(100, [&](ui::Dialog& about) { aboutTitles.push_back(about.Title()); });
    Run([&](ConsoleDialog& console) {
        const auto menu = windows.SystemMenu(console.window());
        ASSERT_GE(menu.size(), 4u);
        EXPECT_EQ(menu[menu.size() - 4].commandId, 0);
        EXPECT_EQ(menu[menu.size() - 3].commandId, 16);
        EXPECT_EQ(menu[menu.size() - 3].text, "&About Hexwarden...");
        EXPECT_EQ(menu[menu.size() - 2].commandId, console_id::kBundleCommand);
        EXPECT_EQ(menu[menu.size() - 2].text, "Save Service &Bundle...");
        EXPECT_EQ(menu.back().commandId, console_id::kChooseCommand);
        EXPECT_EQ(menu.back().text, "Choose &Machine...");
        // Commands 16 to 31 go to the About handler; the others, the close
        // command among them, to the default processing (no result).
        struct Case {
            std::uintptr_t command;
            bool about;
        };
        for (const Case& c : {Case{15, false}, Case{16, true}, Case{17, true}, Case{31, true},
                              Case{64, false}, Case{ui::kScClose, false}}) {
            const auto result = console.HandleMessage({ui::kWmSysCommand, c.command, 0});
            EXPECT_EQ(result.has_value(), c.about) << c.command;
        }
    });
    EXPECT_EQ(aboutTitles, std::vector<std::string>(3, "About Program"));
}

TEST_F(Console, MinimisedConsolePaintsItsIcon) {
    Run([&](ConsoleDialog& console) {
        console.Send({ui::kWmPaint, 0, 0});
        EXPECT_EQ(windows.PaintedIcons(console.window()), 0);
        windows.SetMinimized(console.window(), true);
        console.Send({ui::kWmPaint, 0, 0});
        EXPECT_EQ(windows.PaintedIcons(console.window()), 1);
        const auto icon = windows.Icon(console.window(), true);
        EXPECT_NE(icon, ui::IconHandle{0});
        EXPECT_EQ(console.Send({ui::kWmQueryDragIcon, 0, 0}), static_cast<std::intptr_t>(icon));
        EXPECT_EQ(windows.Icon(console.window(), false), icon);
    });
}

TEST_F(Console, CorrectionModeFollowsTheRadioPair) {
    Run([&](ConsoleDialog& console) {
        EXPECT_TRUE(windows.Item(console.window(), console_id::kPercentMode).checked);
        // The device change shows the controls anew from the stored mode.
        const auto shownAfterDeviceChange = [&](int radio) {
            EXPECT_TRUE(windows.Click(console.window(), radio));
            console.OnDeviceChange(ui::kDbtDevNodesChanged, 0);
            return windows.Item(console.window(), radio).checked;
        };
        EXPECT_TRUE(shownAfterDeviceChange(console_id::kMeasuredMode));
        EXPECT_TRUE(shownAfterDeviceChange(console_id::kPercentMode));
    });
}

TEST_F(Console, TheApplicationRunsTheConsoleOnceAndEnds) {
    int shown = 0;
    windows.OnModal(console_id::kDialog, [&](ui::Dialog& dialog) {
        ++shown;
        EXPECT_EQ(app.mainWindow(), &dialog);
    });
    ConsoleApp consoleApp(services);
    EXPECT_FALSE(consoleApp.InitInstance());
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(app.mainWindow(), nullptr);
}

// Each part of the start-up takes its own time on the fine clock: the OS
// 11 ms before the program, 13 ms before the console's dialog, listing the
// printers 3 ms, each registry walk 2.5 ms, each device open 0.4 ms, each
// reply of the machine 1.5 ms and making the dialog's window 7 ms. Of the two
// machines the first does not open, so that its walk and open count too.
TEST_F(Console, TheStartupLineSplitsTheTimeToTheConnectedTitle) {
    const std::string first = fake.InstallMachine("QMV-240 (front)", "USB001", "AAA111");
    fake.InstallMachine("QMV-240 (back)", "USB002", "BBB222");
    fake.device.openablePaths.erase(first);
    auto& clock = fake.system.microseconds;
    fake.spooler.onEnumerate = [&] { clock += 3000; };
    fake.device.onOpen = [&] { clock += 400; };
    fake.device.answer = [&](std::uint8_t, const std::vector<std::uint8_t>&) {
        clock += 1500;
        return VersionReply("V1");
    };
    SlowRegistry registry(fake.registry, fake.system);
    const LinkPlatform link{fake.device, fake.locks,  fake.system, fake.spooler,
                            registry,    fake.alerts, fake.text};
    windows.OnCreate([&](int) { clock += 7000; });
    std::string log;
    windows.OnModal(console_id::kDialog, [&](ui::Dialog& dialog) {
        EXPECT_EQ(dialog.Title(), "Hexwarden - QMV-240 (back) on USB002");
        log = static_cast<ConsoleDialog&>(dialog).Activity().Text();
    });

    StartupTimer startup(fake.system, 11000);
    clock += 13000;
    ConsoleApp({app, link, program, files, settings, versions, userSettings}, &startup)
        .InitInstance();

    // One reply, the version text's: the status word is read after the title.
    const std::string line =
        "Start-up: process 11.0 ms, spooler 3.0 ms, registry 5.0 ms, device 0.8 ms, first reads "
        "1.5 ms, dialog 7.0 ms, other 13.0 ms, total 41.3 ms";
    EXPECT_TRUE(log.ends_with("  " + line + "\r\n")) << log;
}

TEST_F(Console, F1OpensTheManualBesideTheProgramOrNamesWhereItWasExpected) {
    const std::string page = "C:\\Tools\\Hexwarden.html";
    struct Case {
        bool pagePresent;
        bool browserOpens;
        std::vector<std::string> opened;
        std::string box;
    };
    const Case cases[] = {
        {true, true, {page}, ""},
        {false, true, {}, "Cannot find the manual '" + page + "'."},
        {true, false, {}, "Cannot open the manual '" + page + "' in the browser."},
    };
    for (const Case& c : cases) {
        ui::HeadlessWindowSystem shell;
        ui::Application application{shell, "Hexwarden"};
        test::FakeFileSystem disk;
        if (c.pagePresent) disk.Put(page, "<html></html>");
        if (!c.browserOpens) shell.FailOpeningDocuments();
        const ConsoleServices parts{application, fake.platform, program,     disk,
                                    settings,    versions,      userSettings};
        shell.OnModal(console_id::kDialog, [](ui::Dialog& dialog) {
            dialog.Send({ui::kWmHelp, 0, 0});
        });
        ConsoleApp consoleApp(parts);
        consoleApp.InitInstance();
        EXPECT_EQ(shell.DocumentsOpened(), c.opened);
        ASSERT_EQ(shell.Boxes().size(), c.box.empty() ? 0u : 1u);
        if (!c.box.empty()) {
            EXPECT_EQ(shell.Boxes()[0].text, c.box);
        }
    }
}

}  // namespace
}  // namespace hw
