// The backlash check end to end: the console finds the simulated QMV-240
// through discovery and measures its rotary axis on a worker thread while
// the dialog's timer watches it.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "SimEnvironment.h"
#include "console/BacklashDialog.h"
#include "console/ConsoleDialog.h"
#include "console/ConsoleIds.h"
#include "console/ReportDialog.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeSettingsFile.h"
#include "fakes/FixedProgramFile.h"
#include "ui/headless/HeadlessWindowSystem.h"

namespace hw {
namespace {

namespace id = console_id;

TEST(SimulatedBacklash, ConcurrentCheckThroughDiscovery) {
    TestClock clock{1};
    SimEnvironment env{clock};
    ui::HeadlessWindowSystem windows;
    ui::Application app{windows, "Hexwarden"};
    LinkPlatform link = env.Link(app.alerts());
    test::FixedProgramFile program;
    test::FakeFileSystem files;
    test::FakeSettingsFile settings;
    ConsoleServices services{app, link, program, files, settings};

    std::string status;
    windows.OnModal(backlash_id::kDialog, [&](ui::Dialog& dialog) {
        do {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            ASSERT_TRUE(windows.FireTimer(dialog.window(), kBacklashTimerEvent));
            status = dialog.ItemText(backlash_id::kStatus);
        } while (status == "Checking...");
        windows.Click(dialog.window(), backlash_id::kCancel);
    });
    std::string details;
    windows.OnModal(report_id::kDialog,
                    [&](ui::Dialog& dialog) { details = dialog.ItemText(report_id::kText); });
    windows.OnModal(id::kDialog, [&](ui::Dialog& dialog) {
        auto& console = static_cast<ConsoleDialog&>(dialog);
        ASSERT_TRUE(console.IsConnected());
        windows.QueueBoxAnswer(ui::kIdYes);
        ASSERT_TRUE(windows.Click(console.window(), id::kBacklashCheck));
        EXPECT_EQ(status, "Completed");
        // The lost motion peaks at 207 degrees: 5 encoder steps there.
        EXPECT_EQ(console.ItemText(id::kBacklashAngle), "Angle=207.0deg");
        EXPECT_EQ(console.ItemText(id::kBacklashValue), "Backlash=0.090deg");
        ASSERT_TRUE(windows.Click(console.window(), id::kBacklashDetails));
    });
    ConsoleDialog console(services);
    console.DoModal();

    EXPECT_NE(details.find("\r\n207.0 : 0.090  -0.090\r\n"), std::string::npos) << details;
    EXPECT_TRUE(env.Machine().PanelOperation());
    EXPECT_EQ(env.Machine().Position()[kSimAxisA], 360000);
}

}  // namespace
}  // namespace hw
