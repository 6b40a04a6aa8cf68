#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/ConsoleDialog.h"
#include "console/ConsoleIds.h"
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

// Each part of the start-up takes its own time on the fine clock: the OS
// 11 ms before the program, 13 ms before the console's dialog, listing the
// printers 3 ms, each registry walk 2.5 ms, each device open 0.4 ms, each
// reply of the machine 1.5 ms and making the dialog's window 7 ms. Of the two
// machines the first does not open, so that its walk and open count too.
TEST(StartupTime, TheLineSplitsTheTimeToTheConnectedTitle) {
    test::FakePlatform fake;
    const std::string first = fake.InstallMachine("QMV-240 (front)", "USB001", "AAA111");
    fake.InstallMachine("QMV-240 (back)", "USB002", "BBB222");
    fake.device.openablePaths.erase(first);
    auto& clock = fake.system.microseconds;
    fake.spooler.onEnumerate = [&] { clock += 3000; };
    fake.device.onOpen = [&] { clock += 400; };
    fake.device.answer = [&](std::uint8_t, const std::vector<std::uint8_t>&) {
        clock += 1500;
        return std::vector<std::uint8_t>{0, 3, 'V', '1', 0};
    };
    SlowRegistry registry(fake.registry, fake.system);
    const LinkPlatform link{fake.device, fake.locks,  fake.system, fake.spooler,
                            registry,    fake.alerts, fake.text};

    ui::HeadlessWindowSystem windows;
    windows.OnCreate([&](int) { clock += 7000; });
    ui::Application app{windows, "Hexwarden"};
    test::FixedProgramFile program;
    test::FakeFileSystem files;
    test::FakeSettingsFile settings;
    test::FakeVersionBlocks versions;
    SimUserSettings userSettings;
    const ConsoleServices services{app, link, program, files, settings, versions, userSettings};

    StartupTimer startup(fake.system, 11000);
    clock += 13000;
    std::string log;
    windows.OnModal(console_id::kDialog, [&](ui::Dialog& dialog) {
        EXPECT_EQ(dialog.Title(), "Hexwarden - QMV-240 (back) on USB002");
        log = static_cast<ConsoleDialog&>(dialog).Activity().Text();
    });
    ConsoleDialog(services, &startup).DoModal();

    // One reply: the version text, the status word after the title being no part of it.
    const std::string line =
        "Start-up: process 11.0 ms, spooler 3.0 ms, registry 5.0 ms, device 0.8 ms, first reads "
        "1.5 ms, dialog 7.0 ms, other 13.0 ms, total 41.3 ms";
    EXPECT_TRUE(log.ends_with("  " + line + "\r\n")) << log;
}

}  // namespace
}  // namespace hw
