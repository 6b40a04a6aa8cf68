// The correction calibration end to end: the console on the headless window
// system against the simulated QMV-240, which keeps what it is sent.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "SimEnvironment.h"
#include "console/ConsoleDialog.h"
#include "console/ConsoleIds.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeSettingsFile.h"
#include "ui/headless/HeadlessWindowSystem.h"

namespace hw {
namespace {

namespace id = console_id;

class FixedProgramFile final : public ProgramFile {
  public:
    std::string Path() override { return "C:\\Tools\\Hexwarden.exe"; }
};

class SimulatedCalibration : public ::testing::Test {
  protected:
    void Run(const std::function<void(ConsoleDialog&)>& body) {
        windows.OnModal(id::kDialog, [&](ui::Dialog& dialog) {
            auto& console = static_cast<ConsoleDialog&>(dialog);
            ASSERT_TRUE(console.IsConnected());
            body(console);
        });
        ConsoleDialog console(services);
        console.DoModal();
    }

    // Clicks a button and expects "Completed" as its only box.
    void ClickCompleted(ConsoleDialog& console, int button) {
        windows.ClearBoxes();
        ASSERT_TRUE(windows.Click(console.window(), button));
        ASSERT_EQ(windows.Boxes().size(), 1u);
        EXPECT_EQ(windows.Boxes()[0].text, "Completed");
    }

    void Type(ConsoleDialog& console, int edit, const std::string& text) {
        windows.Type(console.window(), edit, text);
    }

    const SimParameters& Parameters() { return env.Machine().Parameters(); }

    TestClock clock{1};
    SimEnvironment env{clock};
    ui::HeadlessWindowSystem windows;
    ui::Application app{windows, "Hexwarden"};
    LinkPlatform link = env.Link(app.alerts());
    FixedProgramFile program;
    test::FakeFileSystem files;
    test::FakeSettingsFile settings;
    ConsoleServices services{app, link, program, files, settings};
};

TEST_F(SimulatedCalibration, TheMachineTakesTheRequestsAsTheConsoleMeansThem) {
    Run([&](ConsoleDialog& console) {
        ASSERT_TRUE(windows.Click(console.window(), id::kMeasuredMode));
        Type(console, id::kCorrectionX, "23010");
        Type(console, id::kCorrectionY, "18905");
        ClickCompleted(console, id::kWriteXY);

        Type(console, id::kLaserX, "-50");
        Type(console, id::kLaserY, "80");
        ClickCompleted(console, id::kWriteLaser);

        Type(console, id::kY0Offset, "-300");
        ClickCompleted(console, id::kWriteY0);
    });
    EXPECT_EQ(Parameters().Scale(0), 100043);
    EXPECT_EQ(Parameters().Scale(1), 99500);
    EXPECT_EQ(Parameters().Scale(2), 100000);
    EXPECT_EQ(Parameters().LaserX(), -50);
    EXPECT_EQ(Parameters().LaserY(), 80);
    EXPECT_EQ(Parameters().Y0(), -300);
}

}  // namespace
}  // namespace hw
