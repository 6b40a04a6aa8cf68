// What the activity log says of how each procedure ended on the simulated
// machine, and of the values it wrote.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "SimulatedConsoleParts.h"
#include "console/ConsoleDialog.h"
#include "console/ConsoleIds.h"
#include "console/windows/ProgressDialog.h"

namespace hw {
namespace {

class ActivityOutcome : public ::testing::Test, public test::SimulatedConsoleParts {
  protected:
    // Runs the console, acts on it, and returns the log written meanwhile.
    std::string LogOf(const std::function<void(ConsoleDialog&)>& act) {
        std::string log;
        windows.OnModal(console_id::kDialog, [&](ui::Dialog& dialog) {
            auto& console = static_cast<ConsoleDialog&>(dialog);
            const std::size_t before = console.Activity().Text().size();
            act(console);
            log = console.Activity().Text().substr(before);
            console.EndDialog(ui::kIdOk);
        });
        ConsoleDialog console(services);
        console.DoModal();
        return log;
    }

    void Click(ConsoleDialog& console, int button) { windows.Click(console.window(), button); }
};

TEST_F(ActivityOutcome, EachProcedureLogsHowItEndedAndWhatItWrote) {
    struct Case {
        const char* what;
        std::function<void(ConsoleDialog&)> act;
        std::vector<std::string> lines;  // each found in the log
    };
    const Case cases[] = {
        {"a question answered Cancel",
         [&](ConsoleDialog& c) {
             windows.QueueBoxAnswer(ui::kIdCancel);
             Click(c, console_id::kClearPumpTime);
         },
         {"Clear Pump Time ended: cancelled by the technician\r\n"}},
        {"a refused axis, the others written",
         [&](ConsoleDialog& c) {
             windows.Type(c.window(), console_id::kCorrectionX, "100.2");
             windows.Type(c.window(), console_id::kCorrectionY, "99.9");
             env.Faults().refuseNextStartedCommand = true;
             Click(c, console_id::kWriteXY);
         },
         {"Wrote Y scale 99900/100000\r\n", "Wrote Z scale 100000/100000\r\n",
          "Write XY ended: failed: error X (command 99: answered status "}},
        {"a serial number written",
         [&](ConsoleDialog& c) {
             windows.Type(c.window(), console_id::kSerialNumber, "SK12345");
             Click(c, console_id::kWriteSerial);
         },
         {"Wrote serial number SK12345 to QMV-240 on USB001\r\n", "Write ended: Completed\r\n"}},
        {"a bulk read that failed",
         [&](ConsoleDialog& c) {
             env.Faults().failNextRead = true;
             Click(c, console_id::kGetReport);
         },
         {"Get Report ended: failed: error (a bulk read: the device refused it)\r\n"}},
        {"an aging run stopped",
         [&](ConsoleDialog& c) {
             windows.OnPump([&] {
                 if (const ui::Dialog* progress = windows.FindDialog(progress_id::kDialog))
                     windows.Click(progress->window(), progress_id::kStop);
             });
             Click(c, console_id::kStartAging);
             windows.OnPump({});
         },
         {"Start Aging ended: stopped by the technician\r\n"}},
        {"a backlash run that completed",
         [&](ConsoleDialog& c) {
             windows.RunThreadsInline(true);
             Click(c, console_id::kBacklashCheck);
             windows.RunThreadsInline(false);
         },
         {"Check ended: completed: Angle="}},
    };
    for (const Case& c : cases) {
        const std::string log = LogOf(c.act);
        for (const std::string& line : c.lines)
            EXPECT_NE(log.find(line), std::string::npos) << c.what << ": " << line << "\n" << log;
    }
}

}  // namespace
}  // namespace hw
