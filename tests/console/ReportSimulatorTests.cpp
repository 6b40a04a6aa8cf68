// The report, parameter, serial number, counter, serial-port and correction
// procedures end to end: the console on the headless window system, the simulated
// QMV-240 behind it and disk files in memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "SimulatedConsoleParts.h"
#include "console/ConsoleDialog.h"
#include "console/ConsoleIds.h"
#include "console/windows/ReportDialog.h"

namespace hw {
namespace {

using Cause = FileException::Cause;
using Bytes = std::vector<std::uint8_t>;

constexpr const char* kBackupFile = "C:\\Backup\\qmv.par";

using test::FixedProgramFile;

class SimulatedConsole : public ::testing::Test, public test::SimulatedConsoleParts {
  protected:
    // Runs the console on the simulated machine; body acts while it is up.
    void Run(const std::function<void(ConsoleDialog&)>& body) {
        windows.OnModal(console_id::kDialog, [&](ui::Dialog& dialog) {
            auto& console = static_cast<ConsoleDialog&>(dialog);
            ASSERT_TRUE(console.IsConnected());
            ASSERT_EQ(console.Title(), "Hexwarden - QMV-240 on USB001");
            body(console);
        });
        ConsoleDialog console(services);
        console.DoModal();
    }

    // Clicks a button that asks for a file, answering the file dialog with path.
    void ClickWithFile(ConsoleDialog& console, int button, const std::string& path) {
        windows.ClearBoxes();
        windows.QueueFileAnswer(path);
        ASSERT_TRUE(windows.Click(console.window(), button));
    }

    void Click(ConsoleDialog& console, int button) {
        windows.ClearBoxes();
        ASSERT_TRUE(windows.Click(console.window(), button));
    }

    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : windows.Boxes()) texts.push_back(box.text);
        return texts;
    }

    bool MachineLogged(const std::string& event) {
        const auto& events = env.Machine().Events();
        return std::any_of(events.begin(), events.end(), [&](const std::string& e) {
            return e.find(event) != std::string::npos;
        });
    }

    Bytes Block() { return env.Machine().Parameters().Block(); }

    // Only these files are left: no temporary and no half file.
    void ExpectOnlyFiles(const std::vector<std::string>& paths) const {
        std::vector<std::string> present;
        for (const auto& [path, bytes] : files.files) present.push_back(path);
        EXPECT_EQ(present, paths);
        EXPECT_EQ(files.openFiles, 0);
    }
};

TEST_F(SimulatedConsole, TheReportIsShownAndSavedAsText) {
    std::string shown;
    windows.OnModal(report_id::kDialog, [&](ui::Dialog& dialog) {
        shown = dialog.ItemText(report_id::kText);
        windows.QueueFileAnswer("C:\\Reports\\qmv.*");
        windows.Click(dialog.window(), report_id::kSave);
    });
    Run([&](ConsoleDialog& console) { Click(console, console_id::kGetReport); });
    EXPECT_EQ(shown.rfind("QMV-240 SERVICE REPORT\r\n", 0), 0u);
    EXPECT_NE(shown.find("Serial number   : QMV0117\r\n"), std::string::npos);
    EXPECT_EQ(files.Text("C:\\Reports\\qmv"), shown);
    ExpectOnlyFiles({"C:\\Reports\\qmv"});
    ASSERT_EQ(windows.FileDialogs().size(), 1u);
    EXPECT_EQ(windows.FileDialogs()[0].options.initialName, "QMV-240 2026-12-09 0800.txt");
    EXPECT_TRUE(windows.Boxes().empty());
}

TEST_F(SimulatedConsole, ABrokenReportStreamIsAnError) {
    Run([&](ConsoleDialog& console) {
        env.Faults().failNextRead = true;
        Click(console, console_id::kGetReport);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{"error"});
        EXPECT_EQ(windows.Boxes()[0].style, ui::kMbIconHand);
    });
    EXPECT_EQ(windows.FindDialog(report_id::kDialog), nullptr);
    for (const auto& modal : windows.Modals()) EXPECT_NE(modal.templateId, report_id::kDialog);
}

TEST_F(SimulatedConsole, GetParametersBacksTheBlockUp) {
    Run([&](ConsoleDialog& console) {
        ClickWithFile(console, console_id::kGetParameters, kBackupFile);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Completed"});
        EXPECT_EQ(windows.Boxes()[0].owner, console.window());
    });
    ASSERT_EQ(windows.FileDialogs().size(), 1u);
    const auto& options = windows.FileDialogs()[0].options;
    EXPECT_FALSE(options.open);
    EXPECT_EQ(options.defaultExtension, "");
    EXPECT_EQ(options.initialName, "QMV-240 2026-12-09.par");
    EXPECT_EQ(options.flags, ui::kOfnHideReadOnly | ui::kOfnOverwritePrompt);
    EXPECT_EQ(options.filter, "all (*.*)|*.*||");
    EXPECT_EQ(files.files.at(kBackupFile), Block());
    EXPECT_EQ(files.files.at(kBackupFile).size(), kSimBlockSize);
    ExpectOnlyFiles({kBackupFile});
}

TEST_F(SimulatedConsole, AFailedGetParametersKeepsTheBackupThatWasThere) {
    files.Put(kBackupFile, "good backup");
    Run([&](ConsoleDialog& console) {
        // The block stops coming.
        env.Faults().failNextRead = true;
        ClickWithFile(console, console_id::kGetParameters, kBackupFile);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{"error"});
        EXPECT_EQ(files.Text(kBackupFile), "good backup");
        ExpectOnlyFiles({kBackupFile});

        // The disk fills up half way: the file's own box, then the procedure's.
        files.diskFullAfter = 1500;
        ClickWithFile(console, console_id::kGetParameters, kBackupFile);
        EXPECT_EQ(BoxTexts(), (std::vector<std::string>{
                                  "Disk full while accessing C:\\Backup\\qmv.par.", "error"}));
        EXPECT_EQ(windows.Boxes()[0].style, ui::kMbOk | ui::kMbIconExclamation);
        EXPECT_EQ(windows.Boxes()[1].style, ui::kMbIconHand);
        EXPECT_EQ(files.Text(kBackupFile), "good backup");
        ExpectOnlyFiles({kBackupFile});

        // The machine refuses to announce the block.
        files.diskFullAfter.reset();
        env.Faults().refuseCommands = 1;
        ClickWithFile(console, console_id::kGetParameters, kBackupFile);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{"error"});
        EXPECT_EQ(files.Text(kBackupFile), "good backup");
        ExpectOnlyFiles({kBackupFile});

        // A temporary that cannot be removed is named before the error.
        files.removeFailure = Cause::SharingViolation;
        env.Faults().failNextRead = true;
        ClickWithFile(console, console_id::kGetParameters, kBackupFile);
        const std::string temporary = files.removes.back();
        EXPECT_EQ(BoxTexts(),
                  (std::vector<std::string>{
                      "A sharing violation occurred while accessing " + temporary + ".", "error"}));
        files.removeFailure.reset();
        files.Remove(temporary);

        // The channel was left quiet: the next backup goes through.
        ClickWithFile(console, console_id::kGetParameters, kBackupFile);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Completed"});
    });
    EXPECT_EQ(files.files.at(kBackupFile), Block());
    ExpectOnlyFiles({kBackupFile});
}

TEST_F(SimulatedConsole, ABackupThatCannotReplaceTheOldOneIsAnError) {
    files.Put(kBackupFile, "good backup");
    files.replaceFailure = Cause::AccessDenied;
    Run([&](ConsoleDialog& console) {
        ClickWithFile(console, console_id::kGetParameters, kBackupFile);
        EXPECT_EQ(BoxTexts(),
                  (std::vector<std::string>{"Access to C:\\Backup\\qmv.par was denied.", "error"}));
    });
    EXPECT_EQ(files.Text(kBackupFile), "good backup");
    ExpectOnlyFiles({kBackupFile});
}

// The chosen file is checked before the machine is asked: one that could not
// be replaced at the end is found before anything is sent.
TEST_F(SimulatedConsole, AParameterFileThatCannotBeWrittenSendsNothing) {
    files.Put(kBackupFile, "good backup");
    struct Case {
        std::string path;
        std::string failure;  // the openFailures key
        std::string box;
    };
    const Case cases[] = {
        {"C:\\Locked\\qmv.par", "C:\\Locked\\", "Access to C:\\Locked\\qmv.par was denied."},
        {kBackupFile, kBackupFile, "Access to C:\\Backup\\qmv.par was denied."},  // read-only
    };
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            files.openFailures = {{c.failure, Cause::AccessDenied}};
            ClickWithFile(console, console_id::kGetParameters, c.path);
            EXPECT_EQ(BoxTexts(), std::vector<std::string>{c.box});
            EXPECT_EQ(windows.Boxes()[0].style, ui::kMbOk | ui::kMbIconExclamation);
        }
        // Held open by another program.
        files.openFailures.clear();
        const auto held = files.Open(kBackupFile, FileSystem::Access::Read);
        ClickWithFile(console, console_id::kGetParameters, kBackupFile);
        EXPECT_EQ(BoxTexts(),
                  std::vector<std::string>{
                      "A sharing violation occurred while accessing C:\\Backup\\qmv.par."});
    });
    EXPECT_FALSE(MachineLogged("parameter block sent"));
    EXPECT_EQ(files.Text(kBackupFile), "good backup");
    ExpectOnlyFiles({kBackupFile});
}

TEST_F(SimulatedConsole, CancelledFileDialogsDoNothing) {
    Run([&](ConsoleDialog& console) {
        Click(console, console_id::kGetParameters);
        Click(console, console_id::kPutParameters);
        EXPECT_TRUE(windows.Boxes().empty());
    });
    EXPECT_EQ(windows.FileDialogs().size(), 2u);
    EXPECT_TRUE(windows.FileDialogs()[1].options.open);
    EXPECT_EQ(windows.FileDialogs()[1].options.filter, "all (*.*)|*.*||");
    EXPECT_EQ(windows.FileDialogs()[1].options.defaultExtension, "");
    EXPECT_FALSE(MachineLogged("parameter block"));
    EXPECT_TRUE(files.opens.empty());
}

TEST_F(SimulatedConsole, AParameterBlockRoundTripsThroughFilesByteForByte) {
    Run([&](ConsoleDialog& console) {
        ClickWithFile(console, console_id::kGetParameters, "C:\\Backup\\before.par");
        ASSERT_EQ(BoxTexts(), std::vector<std::string>{"Completed"});

        windows.Type(console.window(), console_id::kSerialNumber, "XYZ9876");
        Click(console, console_id::kWriteSerial);
        ASSERT_EQ(BoxTexts().back(), "Completed");
        ASSERT_EQ(env.Machine().Parameters().Serial(), "XYZ9876");

        ClickWithFile(console, console_id::kPutParameters, "C:\\Backup\\before.par");
        EXPECT_EQ(BoxTexts().back(), "Completed");
        EXPECT_EQ(env.Machine().Parameters().Serial(), "QMV0117");
        // The backup of the block before is the only file it leaves.
        EXPECT_EQ(std::erase_if(files.files,
                                [&](const auto& file) {
                                    return file.first.rfind(files.localAppData, 0) == 0;
                                }),
                  1u);

        ClickWithFile(console, console_id::kGetParameters, "C:\\Backup\\after.par");
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Completed"});
    });
    EXPECT_EQ(files.files.at("C:\\Backup\\after.par"), files.files.at("C:\\Backup\\before.par"));
    // Get and Put Parameters open in the folder last chosen in either.
    ASSERT_EQ(windows.FileDialogs().size(), 3u);
    EXPECT_EQ(windows.FileDialogs()[1].options.initialFolder, "C:\\Backup\\");
    EXPECT_TRUE(MachineLogged("parameter block replaced"));
    ExpectOnlyFiles({"C:\\Backup\\after.par", "C:\\Backup\\before.par"});
}

TEST_F(SimulatedConsole, PutParametersFailures) {
    files.Put("C:\\Backup\\empty.par", "");
    Run([&](ConsoleDialog& console) {
        ClickWithFile(console, console_id::kPutParameters, "C:\\Backup\\none.par");
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{"C:\\Backup\\none.par was not found."});

        ClickWithFile(console, console_id::kPutParameters, "C:\\Backup\\empty.par");
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{
                                  "empty.par is not a parameter block of this machine: it holds 0 "
                                  "bytes, the machine's block holds 2500 bytes."});

        ClickWithFile(console, console_id::kGetParameters, kBackupFile);
        ASSERT_EQ(BoxTexts(), std::vector<std::string>{"Completed"});
        env.Faults().refuseCommands = 1;
        ClickWithFile(console, console_id::kPutParameters, kBackupFile);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{"error"});

        files.readFailsAfter = 1000;
        ClickWithFile(console, console_id::kPutParameters, kBackupFile);
        EXPECT_EQ(BoxTexts(),
                  std::vector<std::string>{
                      "An unexpected error occurred while accessing C:\\Backup\\qmv.par."});
    });
    EXPECT_FALSE(MachineLogged("parameter block replaced"));
    EXPECT_EQ(env.Machine().Parameters().Serial(), "QMV0117");
    EXPECT_EQ(files.openFiles, 0);
}

TEST_F(SimulatedConsole, SerialNumberCountersAndSerialPort) {
    Run([&](ConsoleDialog& console) {
        windows.Type(console.window(), console_id::kSerialNumber, "AB12345");
        Click(console, console_id::kWriteSerial);
        EXPECT_EQ(BoxTexts().back(), "Completed");
        EXPECT_EQ(env.Machine().Parameters().Serial(), "AB12345");

        ASSERT_GT(env.Machine().SpindleMinutes(), 0u);
        env.Faults().refuseCommands = 1;
        windows.QueueBoxAnswer(ui::kIdOk);
        Click(console, console_id::kClearSpindleTime);
        EXPECT_EQ(BoxTexts()[1], "error");
        EXPECT_GT(env.Machine().SpindleMinutes(), 0u);
        windows.QueueBoxAnswer(ui::kIdOk);
        Click(console, console_id::kClearSpindleTime);
        EXPECT_EQ(BoxTexts()[1], "Completed");
        EXPECT_EQ(env.Machine().SpindleMinutes(), 0u);

        ASSERT_GT(env.Machine().PumpMinutes(), 0u);
        windows.QueueBoxAnswer(ui::kIdCancel);
        Click(console, console_id::kClearPumpTime);
        EXPECT_GT(env.Machine().PumpMinutes(), 0u);
        windows.QueueBoxAnswer(ui::kIdOk);
        Click(console, console_id::kClearPumpTime);
        EXPECT_EQ(BoxTexts()[1], "Completed");
        EXPECT_EQ(env.Machine().PumpMinutes(), 0u);

        Click(console, console_id::kCheckSerialPort);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Completed"});
        env.Machine().SetSerialLoopback(false);
        Click(console, console_id::kCheckSerialPort);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Failed"});
        env.Machine().SetSerialLoopback(true);
        env.Faults().failNextProcedure = true;
        Click(console, console_id::kCheckSerialPort);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Failed"});
        Click(console, console_id::kCheckSerialPort);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Completed"});
    });
}

// The cable pulled in the middle of a procedure: the procedure ends in
// "error", the device-change message takes the console offline, and once the
// cable is back the console is online again and the same procedure succeeds.
TEST_F(SimulatedConsole, AProcedureCutOffByTheCableFailsAndTheConsoleRecovers) {
    const Bytes block = Block();
    files.Put(kBackupFile, std::string(block.begin(), block.end()));
    struct Case {
        const char* what;
        SimUnplugAt point;
        int button;
        const char* file;
        std::vector<std::string> afterReplug;
    };
    const Case cases[] = {
        {"Check Serial Port, before the trigger",
         SimUnplugAt::BeforeTrigger,
         console_id::kCheckSerialPort,
         nullptr,
         {"Completed"}},
        {"Check Serial Port, between polls",
         SimUnplugAt::BetweenPolls,
         console_id::kCheckSerialPort,
         nullptr,
         {"Completed"}},
        {"Get Report, in mid-stream", SimUnplugAt::MidStream, console_id::kGetReport, nullptr, {}},
        {"Get Parameters, in mid-stream",
         SimUnplugAt::MidStream,
         console_id::kGetParameters,
         "C:\\Backup\\copy.par",
         {"Completed"}},
        {"Put Parameters, reading the machine's block",
         SimUnplugAt::MidStream,
         console_id::kPutParameters,
         kBackupFile,
         {"The machine already holds this parameter block."}},
    };
    const ui::Message deviceChange{ui::kWmDeviceChange, ui::kDbtDevNodesChanged, 0};
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            auto click = [&] {
                if (c.file != nullptr) {
                    ClickWithFile(console, c.button, c.file);
                } else {
                    Click(console, c.button);
                }
            };
            env.Faults().unplugAt = c.point;
            click();
            EXPECT_EQ(BoxTexts(), std::vector<std::string>{"error"}) << c.what;
            console.Send(deviceChange);
            EXPECT_EQ(console.Title(), "Hexwarden - OFFLINE") << c.what;

            clock.Advance(1000);  // a check cut off by the cable has ended meanwhile
            env.PlugIn();
            console.Send(deviceChange);
            ASSERT_EQ(console.Title(), "Hexwarden - QMV-240 on USB001") << c.what;
            click();
            EXPECT_EQ(BoxTexts(), c.afterReplug) << c.what;
        }
    });
    EXPECT_EQ(files.files.at("C:\\Backup\\copy.par"), files.files.at(kBackupFile));
}

// The simulated machine keeps the scales and offsets as the console means them.
TEST_F(SimulatedConsole, CalibrationReachesTheMachineAsMeant) {
    Run([&](ConsoleDialog& console) {
        const auto type = [&](int edit, const std::string& text) {
            windows.Type(console.window(), edit, text);
        };
        ASSERT_TRUE(windows.Click(console.window(), console_id::kMeasuredMode));
        type(console_id::kCorrectionX, "23010");
        type(console_id::kCorrectionY, "18905");
        Click(console, console_id::kWriteXY);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Completed"});
        type(console_id::kLaserX, "-50");
        type(console_id::kLaserY, "80");
        Click(console, console_id::kWriteLaser);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Completed"});
        type(console_id::kY0Offset, "-300");
        Click(console, console_id::kWriteY0);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Completed"});
        // The test cut ends once the machine stands at its origin again.
        windows.QueueBoxAnswer(ui::kIdOk);
        Click(console, console_id::kCorrectionCut);
        EXPECT_EQ(BoxTexts().back(), "Completed");
        EXPECT_EQ(BoxTexts().size(), 2u);
    });
    const SimParameters& parameters = env.Machine().Parameters();
    EXPECT_EQ(parameters.Scale(0), 100043);
    EXPECT_EQ(parameters.Scale(1), 99500);
    EXPECT_EQ(parameters.Scale(2), 100000);
    EXPECT_EQ(parameters.LaserX(), -50);
    EXPECT_EQ(parameters.LaserY(), 80);
    EXPECT_EQ(parameters.Y0(), -300);
}

}  // namespace
}  // namespace hw
