// The report, serial number, counter and serial-port procedures of the
// console against a scripted machine: what each sends and which box answers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/ScriptedConsole.h"
#include "console/windows/ReportDialog.h"

namespace hw {
namespace {

using test::Bytes;
using test::kRefused;
using test::Reply;
using test::Sent;
using test::StatusReply;

class ReportProcedureTest : public test::ScriptedConsole {
  protected:
    std::vector<int> SentCommands() const {
        std::vector<int> commands;
        for (const Sent& s : SentRequests()) commands.push_back(s.command);
        return commands;
    }

    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : windows.Boxes()) texts.push_back(box.text);
        return texts;
    }

    void ExpectOneBox(const std::string& text, std::uint32_t style, ui::WindowId owner) {
        ASSERT_EQ(windows.Boxes().size(), 1u) << text;
        const auto& box = windows.Boxes()[0];
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caption, app.programName());
        EXPECT_EQ(box.style, style);
        EXPECT_EQ(box.owner, owner);
    }
};

TEST_F(ReportProcedureTest, SerialNumberRules) {
    struct Case {
        std::string text;
        const char* warning;  // nullptr: sent
    };
    const Case cases[] = {
        {"AB12345", nullptr},
        {"!#%1234", nullptr},
        {"\xC4\xD6Z0000", nullptr},
        {"ABC123X", "Bad Character"},
        {"ABCDEFG", "Bad Character"},
        {"ABC/234", "Bad Character"},
        {"ABC:234", "Bad Character"},
        {"ABC12\xB3"
         "4",
         "Bad Character"},
        {"ABC 234", "Bad Character"},
        {std::string("AB\0"
                     "1234",
                     7),
         "Bad Character"},
        {"AB1234", "Wrong Number of Characters"},
        {"", "Wrong Number of Characters"},
        {"ABC12345", "Wrong Number of Characters"},
        {"AB", "Wrong Number of Characters"},
        {"ABCDEFGHIJ", "Wrong Number of Characters"},
    };
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            StartRecord();
            windows.Type(console.window(), console_id::kSerialNumber, c.text);
            Press(console, console_id::kWriteSerial);
            if (c.warning != nullptr) {
                ExpectOneBox(c.warning, ui::kMbIconExclamation, ui::kNoWindow);
                EXPECT_TRUE(SentRequests().empty()) << c.text;
                continue;
            }
            ASSERT_EQ(BoxTexts().size(), 2u);
            EXPECT_EQ(BoxTexts()[1], "Completed");
            const auto sent = SentRequests();
            ASSERT_EQ(sent.size(), 1u) << c.text;
            EXPECT_EQ(sent[0].command, 98);
            EXPECT_EQ(sent[0].payload[1], 8);  // 8 bytes: the 7 characters and the NUL
            EXPECT_EQ(Bytes(sent[0].payload.begin() + 2, sent[0].payload.begin() + 10),
                      Bytes(c.text.c_str(), c.text.c_str() + 8));
        }
    });
}

// The machine cannot tell its serial number back: the technician is asked
// before it is replaced (the box captioned with the program's name, the
// demo's too), and the log keeps each one written with its date.
TEST_F(ReportProcedureTest, ASerialNumberIsWrittenOnlyOnceConfirmedAndIsKeptInTheLog) {
    app.SetProgramName("HexwardenDemo");
    const std::string question =
        "Write the serial number AB12345 to QMV-240 on USB001? It replaces the machine's serial "
        "number.";
    const std::string logged =
        "2026-12-09 10:30:00  Wrote serial number AB12345 to QMV-240 on USB001\r\n";
    struct Case {
        int answer;
        std::vector<Bytes> replies;
        std::vector<std::string> boxes;
        std::vector<int> sent;
    };
    const Case cases[] = {
        {ui::kIdCancel, {}, {question}, {}},
        {ui::kIdOk, {kRefused}, {question, "error"}, {98}},
        {ui::kIdOk, {}, {question, "Completed"}, {98}},
    };
    Run([&](ConsoleDialog& console) {
        windows.Type(console.window(), console_id::kSerialNumber, "AB12345");
        for (const Case& c : cases) {
            EXPECT_EQ(console.Activity().Text().find(logged), std::string::npos);
            StartRecord();
            windows.QueueBoxAnswer(c.answer);
            Press(console, console_id::kWriteSerial, c.replies);
            EXPECT_EQ(BoxTexts(), c.boxes);
            EXPECT_EQ(windows.Boxes()[0].style, ui::kMbOkCancel | ui::kMbDefButton2);
            EXPECT_EQ(windows.Boxes()[0].caption, "HexwardenDemo");
            EXPECT_EQ(SentCommands(), c.sent);
        }
        EXPECT_NE(console.Activity().Text().find(logged), std::string::npos);
    });
}

TEST_F(ReportProcedureTest, ControlsThatCannotBeReadGiveFailed) {
    Run([&](ConsoleDialog& console) {
        windows.Type(console.window(), console_id::kSerialNumber, "AB12345");
        windows.RemoveItem(console.window(), console_id::kCorrectionX);
        Press(console, console_id::kWriteSerial);
        ExpectOneBox("Failed", ui::kMbIconHand, ui::kNoWindow);
        EXPECT_TRUE(SentRequests().empty());
    });
}

TEST_F(ReportProcedureTest, ClearingACounterAsksFirst) {
    struct Case {
        int button;
        const char* prompt;
        int command;
    };
    const Case cases[] = {
        {console_id::kClearSpindleTime,
         "Spindle Time will be cleared.\n             Are you sure?\nMachine: QMV-240 on USB001",
         116},
        {console_id::kClearPumpTime,
         "Pump Time will be cleared.\n             Are you sure?\nMachine: QMV-240 on USB001", 135},
    };
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            // Cancel (also Escape on the box, Cancel being its default).
            StartRecord();
            windows.QueueBoxAnswer(ui::kIdCancel);
            Press(console, c.button);
            ExpectOneBox(c.prompt, ui::kMbOkCancel | ui::kMbDefButton2, console.window());
            EXPECT_TRUE(SentRequests().empty());

            windows.ClearBoxes();
            windows.QueueBoxAnswer(ui::kIdOk);
            Press(console, c.button);
            ASSERT_EQ(windows.Boxes().size(), 2u);
            EXPECT_EQ(windows.Boxes()[1].text, "Completed");
            EXPECT_EQ(windows.Boxes()[1].style, ui::kMbOk);
            EXPECT_EQ(windows.Boxes()[1].owner, console.window());
            EXPECT_EQ(SentCommands(), std::vector<int>{c.command});
            const auto sent = SentRequests();
            EXPECT_EQ(sent[0].payload[3], 0);  // sub-code 0
        }
    });
}

TEST_F(ReportProcedureTest, ACounterTheMachineDoesNotClearIsReportedAsAnError) {
    Run([&](ConsoleDialog& console) {
        for (int button : {console_id::kClearSpindleTime, console_id::kClearPumpTime}) {
            windows.ClearBoxes();
            windows.QueueBoxAnswer(ui::kIdOk);
            Press(console, button, {kRefused});
            EXPECT_EQ(BoxTexts()[1], "error") << button;
            EXPECT_EQ(windows.Boxes()[1].style, ui::kMbIconHand);
            EXPECT_EQ(windows.Boxes().size(), 2u);
        }
    });
}

TEST_F(ReportProcedureTest, SerialPortCheckReadsTheFailedBit) {
    struct Case {
        std::vector<Bytes> replies;
        const char* text;
        std::uint32_t style;
        std::vector<int> commands;
    };
    const Case cases[] = {
        {{Reply({0}), StatusReply(0x0001)}, "Completed", ui::kMbOk, {119, 1}},
        {{Reply({0}), StatusReply(0x2001)}, "Failed", ui::kMbIconHand, {119, 1}},
        // The status word cannot be read.
        {{Reply({0}), kRefused}, "Failed", ui::kMbIconHand, {119, 1}},
        // The check is refused: the status is not read.
        {{kRefused}, "error", ui::kMbIconHand, {119}},
    };
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            StartRecord();
            Press(console, console_id::kCheckSerialPort, c.replies);
            ASSERT_EQ(BoxTexts(), std::vector<std::string>{c.text});
            EXPECT_EQ(windows.Boxes()[0].style, c.style) << c.text;
            EXPECT_EQ(SentCommands(), c.commands) << c.text;
        }
    });
}

TEST_F(ReportProcedureTest, AReportTheMachineDoesNotSendIsAnError) {
    Run([&](ConsoleDialog& console) {
        Press(console, console_id::kGetReport, {kRefused});
        ExpectOneBox("error", ui::kMbIconHand, ui::kNoWindow);
        // A failed read of the stream is an error too.
        windows.ClearBoxes();
        fake.device.reads.push_back({{'Q', 'M', 'V'}});
        fake.device.reads.push_back({{}, true});
        Press(console, console_id::kGetReport);
        ExpectOneBox("error", ui::kMbIconHand, ui::kNoWindow);
    });
    for (const auto& modal : windows.Modals()) EXPECT_NE(modal.templateId, report_id::kDialog);
}

TEST_F(ReportProcedureTest, TheReportIsShownInTheReportDialog) {
    std::string shown;
    windows.OnModal(report_id::kDialog,
                    [&](ui::Dialog& dialog) { shown = dialog.ItemText(report_id::kText); });
    Run([&](ConsoleDialog& console) {
        app.SetMainWindow(&console);
        const std::string first(1023, 'a');
        fake.device.reads.push_back({Bytes(first.begin(), first.end())});
        fake.device.reads.push_back({{'b', 'c', 0}});
        Press(console, console_id::kGetReport);
        EXPECT_TRUE(windows.Boxes().empty());
        ASSERT_FALSE(windows.Modals().empty());
        EXPECT_EQ(windows.Modals().back().templateId, report_id::kDialog);
        EXPECT_EQ(windows.Modals().back().owner, console.window());
        app.SetMainWindow(nullptr);
    });
    EXPECT_EQ(shown, std::string(1023, 'a') + "bc");
}

// The viewer opens where the technician last left it, with that size, its
// controls laid out for it: sized and moved, then closed by its close box.
TEST_F(ReportProcedureTest, TheViewerKeepsItsPlaceAndSizeForTheSession) {
    const ui::Rect kept{200, 120, 900, 620};
    std::vector<ui::Rect> opened;
    std::vector<ui::Rect> texts;
    windows.OnModal(report_id::kDialog, [&](ui::Dialog& dialog) {
        opened.push_back(dialog.WindowRect());
        texts.push_back(dialog.ItemRect(report_id::kText).value_or(ui::Rect{}));
        windows.geometry.PlaceWindow(dialog.window(), kept);
        windows.PressCloseBox(dialog.window());
    });
    Run([&](ConsoleDialog& console) {
        for (int i = 0; i < 2; ++i) {
            fake.device.reads.push_back({{'r', 0}});
            Press(console, console_id::kGetReport);
        }
    });
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_NE(opened[0], kept);
    EXPECT_EQ(opened[1], kept);
    // The text grew with the window.
    EXPECT_EQ(texts[1].Width() - texts[0].Width(), kept.Width() - opened[0].Width());
}

TEST_F(ReportProcedureTest, OfflineNoFileDialogIsShown) {
    test::FakePlatform offline;
    ConsoleServices local{app, offline.platform, program, files, settings, versions, userSettings};
    windows.OnModal(console_id::kDialog, [&](ui::Dialog& dialog) {
        for (int button : {console_id::kGetParameters, console_id::kPutParameters})
            windows.Click(dialog.window(), button);
    });
    ConsoleDialog console(local);
    console.DoModal();
    EXPECT_TRUE(windows.FileDialogs().empty());
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"OFFLINE", "OFFLINE"}));
}

}  // namespace
}  // namespace hw
