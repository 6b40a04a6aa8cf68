// Two machines on one simulated PC: the console starts on the one last
// chosen, switches between them from its system menu, forgets what belonged
// to the machine before, and refuses to switch while a procedure runs.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "SimulatedConsoleParts.h"
#include "console/ConsoleDialog.h"
#include "console/ConsoleIds.h"
#include "console/windows/MachineChooser.h"
#include "console/windows/ProgressDialog.h"
#include "sim/machine/SimParameters.h"

namespace hw {
namespace {

constexpr const char* kFirstTitle = "Hexwarden - QMV-240 on USB001";
constexpr const char* kSecondTitle = "Hexwarden - QMV-240 (Copy 1) on USB002";

class MachineChoice : public ::testing::Test, public test::SimulatedConsoleParts {
  protected:
    MachineChoice() {
        env.AddMachine(kSimSecondQueueName, kSimSecondPortName, SecondMachineConfig());
    }

    void Run(const std::function<void(ConsoleDialog&)>& body) {
        windows.OnModal(console_id::kDialog,
                        [&](ui::Dialog& dialog) { body(static_cast<ConsoleDialog&>(dialog)); });
        ConsoleDialog console(services);
        console.DoModal();
    }

    // Choose Machine from the system menu; chooser acts in the chooser.
    void Choose(ConsoleDialog& console, const std::function<void(ui::Dialog&)>& chooser) {
        windows.OnModal(chooser_id::kDialog, chooser);
        console.Send({ui::kWmSysCommand, console_id::kChooseCommand, 0});
    }

    std::vector<std::string> Lines(const ui::Dialog& chooser) const {
        return windows.Item(chooser.window(), chooser_id::kList).lines;
    }
    int Selected(const ui::Dialog& chooser) const {
        return windows.Item(chooser.window(), chooser_id::kList).selected;
    }
};

TEST_F(MachineChoice, ListsBothChoosesOneByDoubleClickAndSwitchesBack) {
    Run([&](ConsoleDialog& console) {
        ASSERT_EQ(console.Title(), kFirstTitle);
        Choose(console, [&](ui::Dialog& chooser) {
            EXPECT_EQ(
                Lines(chooser),
                (std::vector<std::string>{
                    "QMV-240 on USB001   QMV0117   QMV-240 V1.52 PNL-J   connected",
                    "QMV-240 (Copy 1) on USB002   QMV0342   QMV-240 V1.48 PNL-J   connected"}));
            EXPECT_EQ(Selected(chooser), 0);
            EXPECT_TRUE(windows.DoubleClickListLine(chooser.window(), chooser_id::kList, 1));
        });
        EXPECT_EQ(console.Title(), kSecondTitle);
        EXPECT_EQ(env.DevicePath(),
                  "\\\\?\\USB#VID_0F2A&PID_0240#QMV0342#" + std::string(kSimInterfaceGuid));
        EXPECT_EQ(userSettings.Read(kChosenMachineSetting), kSimSecondQueueName);

        Choose(console, [&](ui::Dialog& chooser) {
            EXPECT_EQ(Selected(chooser), 1);
            app.lists().SelectListLine(chooser.window(), chooser_id::kList, 0);
            windows.PressEnter(chooser.window());
        });
        EXPECT_EQ(console.Title(), kFirstTitle);
        EXPECT_EQ(userSettings.Read(kChosenMachineSetting), kSimQueueName);
    });
}

// Typed values, the tool position and the readings of the machine before
// do not carry over to the machine chosen.
TEST_F(MachineChoice, SwitchingForgetsWhatBelongedToTheMachineBefore) {
    Run([&](ConsoleDialog& console) {
        const ui::WindowId window = console.window();
        windows.Click(window, console_id::kReadSpindle);
        windows.Click(window, console_id::kToolPosition);
        windows.FireTimer(window, console.SensorTimerId());
        for (int edit : {console_id::kCorrectionX, console_id::kCorrectionY, console_id::kY0Offset,
                         console_id::kLaserX})
            windows.Type(window, edit, "12");
        ASSERT_NE(console.ItemText(console_id::kToolX), "X:--");
        ASSERT_NE(console.ItemText(console_id::kSpindleCurrent), "--A");
        ASSERT_NE(console.ItemText(console_id::kLimitX), "LimitX=");

        Choose(console, [&](ui::Dialog& chooser) {
            windows.DoubleClickListLine(chooser.window(), chooser_id::kList, 1);
        });
        EXPECT_EQ(console.ItemText(console_id::kToolX), "X:--");
        EXPECT_EQ(console.ItemText(console_id::kToolY), "Y:--");
        EXPECT_EQ(console.ItemText(console_id::kSpindleCurrent), "--A");
        EXPECT_EQ(console.ItemText(console_id::kSpindleTemperature), "--C --F");
        EXPECT_EQ(console.ItemText(console_id::kLimitX), "LimitX=");
        for (int edit : {console_id::kCorrectionX, console_id::kCorrectionY, console_id::kY0Offset,
                         console_id::kLaserX})
            EXPECT_EQ(console.ItemText(edit), "") << edit;
        windows.ClearBoxes();
        windows.Click(window, console_id::kCalcWriteLaser);
        ASSERT_EQ(windows.Boxes().size(), 1u);
        EXPECT_EQ(windows.Boxes()[0].text, "Press Tool Pos first");
    });
}

// On the second machine, a backup of the first is named in the confirmation;
// a backup of the second itself is not.
TEST_F(MachineChoice, TheRestoreConfirmationWarnsOfAnotherMachinesBackup) {
    userSettings.Write(kChosenMachineSetting, kSimSecondQueueName);
    const auto block = SimParameters("QMV9999").Block();
    const std::string contents(block.begin(), block.end());
    struct Case {
        const char* file;
        const char* warning;
    } const cases[] = {
        {"2026-12-09 08-00-00 QMV-240 QMV0117.par",
         "It was backed up from another machine: QMV-240 QMV0117.\n"},
        {"2026-12-09 08-00-00 QMV-240 (Copy 1) QMV0342.par", ""},
    };
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            const std::string path = std::string("C:\\Service\\") + c.file;
            files.Put(path, contents);
            windows.ClearBoxes();
            windows.QueueFileAnswer(path);
            windows.QueueBoxAnswer(ui::kIdCancel);
            windows.Click(console.window(), console_id::kPutParameters);
            ASSERT_EQ(windows.Boxes().size(), 1u);
            EXPECT_EQ(windows.Boxes()[0].text, std::string(c.file) +
                                                   ": 8 of 2500 bytes differ from the machine's " +
                                                   "parameter block.\n" + c.warning +
                                                   "Write it to QMV-240 (Copy 1) on USB002?");
        }
    });
}

TEST_F(MachineChoice, NoSwitchWhileAProgressWindowIsUp) {
    bool tried = false;
    Run([&](ConsoleDialog& console) {
        windows.OnPump([&] {
            const ui::Dialog* progress = windows.FindDialog(progress_id::kDialog);
            if (progress == nullptr || tried) return;
            tried = true;
            console.Send({ui::kWmSysCommand, console_id::kChooseCommand, 0});
            windows.PressEscape(progress->window());
        });
        windows.Click(console.window(), console_id::kCheckLoadX);
        EXPECT_EQ(console.Title(), kFirstTitle);
    });
    EXPECT_TRUE(tried);
    for (const auto& modal : windows.Modals()) EXPECT_NE(modal.templateId, chooser_id::kDialog);
}

// The queue remembered from the last choice is connected to at the start
// when it is there and opens; else the first machine, as without a choice.
TEST_F(MachineChoice, StartsOnTheRememberedMachineWhenItIsThere) {
    struct Case {
        std::optional<std::string> remembered;
        const char* title;
    } const cases[] = {
        {std::nullopt, kFirstTitle},
        {kSimSecondQueueName, kSecondTitle},
        {"QMV-240 (Copy 2)", kFirstTitle},
    };
    for (const Case& c : cases) {
        userSettings.texts.clear();
        if (c.remembered) userSettings.Write(kChosenMachineSetting, *c.remembered);
        Run([&](ConsoleDialog& console) { EXPECT_EQ(console.Title(), c.title) << c.title; });
    }
}

}  // namespace
}  // namespace hw
