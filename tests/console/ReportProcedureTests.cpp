// The report, serial number, counter and serial-port procedures of the
// console against a scripted machine: what each sends and which box answers.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "console/ConsoleDialog.h"
#include "console/ConsoleIds.h"
#include "console/ReportDialog.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeSettingsFile.h"
#include "fakes/FakePlatform.h"
#include "link/DeviceChannel.h"
#include "ui/headless/HeadlessWindowSystem.h"

namespace hw {
namespace {

namespace id = console_id;
using Bytes = std::vector<std::uint8_t>;
using test::Reply;

constexpr std::uint8_t kExtended = 0x38;

class FixedProgramFile final : public ProgramFile {
  public:
    std::string Path() override { return "C:\\Tools\\Hexwarden.exe"; }
};

// One request as the machine received it.
struct Sent {
    int command;    // the command number (extended ones too)
    Bytes payload;  // the request, command slot as sent in the data phase
};

class ReportProcedures : public ::testing::Test {
  protected:
    void SetUp() override { fake.InstallMachine("QMV-240", "USB001", "AAA111"); }

    // Runs the console; body acts while it is up.
    void Run(const std::function<void(ConsoleDialog&)>& body) {
        windows.OnModal(id::kDialog, [&](ui::Dialog& dialog) {
            auto& console = static_cast<ConsoleDialog&>(dialog);
            ASSERT_TRUE(console.IsConnected());
            windows.ClearBoxes();
            firstControl = fake.device.controls.size();
            body(console);
        });
        ConsoleDialog console(services);
        console.DoModal();
    }

    // Clicks a button of the console and answers its vendor polls with replies.
    void Click(ConsoleDialog& console, int button, std::vector<Bytes> replies = {}) {
        fake.device.replies.assign(replies.begin(), replies.end());
        ASSERT_TRUE(windows.Click(console.window(), button));
    }

    // The requests sent since the body began: a data phase followed by its trigger.
    std::vector<Sent> SentRequests() const {
        std::vector<Sent> sent;
        const auto& controls = fake.device.controls;
        for (std::size_t i = firstControl; i + 1 < controls.size(); ++i) {
            const auto& data = controls[i].input;
            const auto& trigger = controls[i + 1].input;
            if (controls[i].code != kIoctlVendorSetCommand || data.size() <= 4) continue;
            if (controls[i + 1].code != kIoctlVendorSetCommand || trigger.size() != 4) continue;
            Bytes payload(data.begin() + 3, data.end());
            const int command = trigger[3] == kExtended ? payload[2] : trigger[3];
            sent.push_back({command, payload});
        }
        return sent;
    }

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
        EXPECT_EQ(box.caption, "Hexwarden");
        EXPECT_EQ(box.style, style);
        EXPECT_EQ(box.owner, owner);
    }

    test::FakePlatform fake;
    ui::HeadlessWindowSystem windows;
    ui::Application app{windows, "Hexwarden"};
    FixedProgramFile program;
    test::FakeFileSystem files;
    test::FakeSettingsFile settings;
    ConsoleServices services{app, fake.platform, program, files, settings};
    std::size_t firstControl = 0;
};

const Bytes kRefused = Reply({1});

Bytes StatusReply(std::uint16_t word) {
    return Reply({0, 1, static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8)});
}

TEST_F(ReportProcedures, SerialNumberRules) {
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
            windows.ClearBoxes();
            firstControl = fake.device.controls.size();
            windows.Type(console.window(), id::kSerialNumber, c.text);
            Click(console, id::kWriteSerial);
            if (c.warning != nullptr) {
                ExpectOneBox(c.warning, ui::kMbIconExclamation, ui::kNoWindow);
                EXPECT_TRUE(SentRequests().empty()) << c.text;
                continue;
            }
            ExpectOneBox("Completed", ui::kMbOk, console.window());
            const auto sent = SentRequests();
            ASSERT_EQ(sent.size(), 1u) << c.text;
            EXPECT_EQ(sent[0].command, 98);
            EXPECT_EQ(sent[0].payload[1], 8);  // 8 bytes: the 7 characters and the NUL
            EXPECT_EQ(Bytes(sent[0].payload.begin() + 2, sent[0].payload.begin() + 10),
                      Bytes(c.text.c_str(), c.text.c_str() + 8));
        }
    });
}

TEST_F(ReportProcedures, ASerialNumberTheMachineRefusesIsAnError) {
    Run([&](ConsoleDialog& console) {
        windows.Type(console.window(), id::kSerialNumber, "AB12345");
        Click(console, id::kWriteSerial, {kRefused});
        ExpectOneBox("error", ui::kMbIconHand, ui::kNoWindow);
        EXPECT_EQ(SentCommands(), std::vector<int>{98});
    });
}

TEST_F(ReportProcedures, ControlsThatCannotBeReadGiveFailed) {
    Run([&](ConsoleDialog& console) {
        windows.Type(console.window(), id::kSerialNumber, "AB12345");
        windows.RemoveItem(console.window(), id::kCorrectionX);
        Click(console, id::kWriteSerial);
        ExpectOneBox("Failed", ui::kMbIconHand, ui::kNoWindow);
        EXPECT_TRUE(SentRequests().empty());
    });
}

TEST_F(ReportProcedures, ClearingACounterAsksFirst) {
    struct Case {
        int button;
        const char* prompt;
        int command;
    };
    const Case cases[] = {
        {id::kClearSpindleTime, "Spindle Time will be cleared.\n             Are you sure?", 116},
        {id::kClearPumpTime, "Pump Time will be cleared.\n             Are you sure?", 135},
    };
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            // Cancel (also Escape on the box, Cancel being its default).
            windows.ClearBoxes();
            firstControl = fake.device.controls.size();
            windows.QueueBoxAnswer(ui::kIdCancel);
            Click(console, c.button);
            ExpectOneBox(c.prompt, ui::kMbOkCancel | ui::kMbDefButton2, console.window());
            EXPECT_TRUE(SentRequests().empty());

            windows.ClearBoxes();
            windows.QueueBoxAnswer(ui::kIdOk);
            Click(console, c.button);
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

TEST_F(ReportProcedures, ACounterTheMachineDoesNotClearIsReportedAsAnError) {
    Run([&](ConsoleDialog& console) {
        for (int button : {id::kClearSpindleTime, id::kClearPumpTime}) {
            windows.ClearBoxes();
            windows.QueueBoxAnswer(ui::kIdOk);
            Click(console, button, {kRefused});
            EXPECT_EQ(BoxTexts()[1], "error") << button;
            EXPECT_EQ(windows.Boxes()[1].style, ui::kMbIconHand);
            EXPECT_EQ(windows.Boxes().size(), 2u);
        }
    });
}

TEST_F(ReportProcedures, SerialPortCheckReadsTheFailedBit) {
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
            windows.ClearBoxes();
            firstControl = fake.device.controls.size();
            Click(console, id::kCheckSerialPort, c.replies);
            ASSERT_EQ(BoxTexts(), std::vector<std::string>{c.text});
            EXPECT_EQ(windows.Boxes()[0].style, c.style) << c.text;
            EXPECT_EQ(SentCommands(), c.commands) << c.text;
        }
    });
}

TEST_F(ReportProcedures, AReportTheMachineDoesNotSendIsAnError) {
    Run([&](ConsoleDialog& console) {
        Click(console, id::kGetReport, {kRefused});
        ExpectOneBox("error", ui::kMbIconHand, ui::kNoWindow);
        // A failed read of the stream is an error too.
        windows.ClearBoxes();
        fake.device.reads.push_back({{'Q', 'M', 'V'}});
        fake.device.reads.push_back({{}, true});
        Click(console, id::kGetReport);
        ExpectOneBox("error", ui::kMbIconHand, ui::kNoWindow);
    });
    for (const auto& modal : windows.Modals()) EXPECT_NE(modal.templateId, report_id::kDialog);
}

TEST_F(ReportProcedures, TheReportIsShownInTheReportDialog) {
    std::string shown;
    windows.OnModal(report_id::kDialog,
                    [&](ui::Dialog& dialog) { shown = dialog.ItemText(report_id::kText); });
    Run([&](ConsoleDialog& console) {
        app.SetMainWindow(&console);
        const std::string first(1023, 'a');
        fake.device.reads.push_back({Bytes(first.begin(), first.end())});
        fake.device.reads.push_back({{'b', 'c', 0}});
        Click(console, id::kGetReport);
        EXPECT_TRUE(windows.Boxes().empty());
        ASSERT_FALSE(windows.Modals().empty());
        EXPECT_EQ(windows.Modals().back().templateId, report_id::kDialog);
        EXPECT_EQ(windows.Modals().back().owner, console.window());
        app.SetMainWindow(nullptr);
    });
    EXPECT_EQ(shown, std::string(1023, 'a') + "bc");
}

TEST_F(ReportProcedures, OfflineNoFileDialogIsShown) {
    test::FakePlatform offline;
    ConsoleServices local{app, offline.platform, program, files, settings};
    windows.OnModal(id::kDialog, [&](ui::Dialog& dialog) {
        for (int button : {id::kGetParameters, id::kPutParameters})
            windows.Click(dialog.window(), button);
    });
    ConsoleDialog console(local);
    console.DoModal();
    EXPECT_TRUE(windows.FileDialogs().empty());
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"OFFLINE", "OFFLINE"}));
}

}  // namespace
}  // namespace hw
