// The correction calibration procedures of the console against a scripted
// machine: what each sends, what the edits show and which box answers.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "commands/MachineLink.h"
#include "console/ScriptedConsole.h"
#include "console/calibration/CalibrationMath.h"
#include "console/windows/ProgressDialog.h"

namespace hw {
namespace {

using test::Bytes;
using test::kRefused;
using test::Sent;
using test::StatusReply;

constexpr int kScaleCommand = 99;
constexpr int kSetY0Command = 130;
constexpr int kSetLaserCommand = 131;

void PutDword(Bytes& bytes, std::int32_t value) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A successful reply carrying 32-bit items from offset 4, its count byte
// announcing them.
Bytes DwordsReply(std::vector<std::int32_t> values) {
    Bytes reply{0, static_cast<std::uint8_t>(values.size()), 0, 0};
    for (std::int32_t v : values) PutDword(reply, v);
    return reply;
}

// The 13 sensor bytes with the cover byte (5) given.
Bytes SensorReply(std::uint8_t coverByte) {
    Bytes reply(2 + 13, 0);
    reply[1] = 13;
    reply[2 + 5] = coverByte;
    return reply;
}

const Bytes kOk = {0};
// A constructor rather than an aggregate: the Windows compiler otherwise
// warns about the strings of a partly built table of cases.
struct Box {
    Box(std::string text, std::uint32_t style) : text(std::move(text)), style(style) {}
    std::string text;
    std::uint32_t style;
    bool operator==(const Box&) const = default;
};
const std::uint32_t kStopIcon = ui::kMbIconHand;
const std::uint32_t kWarn = ui::kMbIconExclamation;
const std::uint32_t kOkBox = ui::kMbOk;
const std::uint32_t kQuestion = ui::kMbOkCancel | ui::kMbDefButton2;
const std::string kCutQuestion =
    "The machine will cut the test figure. Is a test plate clamped and the cover closed?";
constexpr int kStopMotionCommand = 9;

std::ostream& operator<<(std::ostream& out, const Box& box) {
    return out << '"' << box.text << "\"/" << box.style;
}

std::vector<Box> OneBox(std::string text, std::uint32_t style) {
    return {{std::move(text), style}};
}

class CalibrationProcedures : public test::ScriptedConsole {
  protected:
    // Clicks a button with a fresh record and the machine's replies, one per request.
    void Click(ConsoleDialog& console, int button, std::vector<Bytes> replies = {}) {
        StartRecord();
        Press(console, button, std::move(replies));
    }

    std::vector<Sent> SentOf(int command) const {
        std::vector<Sent> matching;
        for (const Sent& s : SentRequests())
            if (s.command == command) matching.push_back(s);
        return matching;
    }

    std::vector<Box> Boxes() const {
        std::vector<Box> boxes;
        for (const auto& box : windows.Boxes()) boxes.push_back({box.text, box.style});
        return boxes;
    }
};

TEST_F(CalibrationProcedures, WriteXYScalesAndRangeTests) {
    struct Case {
        int mode;
        std::string x, y;
        std::vector<Box> boxes;
        std::int32_t sentX, sentY;  // only when "Completed"
    };
    const Case cases[] = {
        {console_id::kPercentMode, "100", "100", {{"Completed", kOkBox}}, 100000, 100000},
        {console_id::kPercentMode, " 100.123", "99.5", {{"Completed", kOkBox}}, 100123, 99500},
        {console_id::kPercentMode, "100.5", "+1.00e2 ", {{"Completed", kOkBox}}, 100500, 100000},
        {console_id::kPercentMode,
         "100,5",
         "100",
         {{"100,5 is not a number here: type decimals after a point (100.5).", kWarn}},
         0,
         0},
        {console_id::kMeasuredMode,
         "23000",
         " 19000mm",
         {{"19000mm is not a number here: type digits, with decimals after a point.", kWarn}},
         0,
         0},
        {console_id::kPercentMode,
         "abc",
         "100",
         {{"abc is not a number here: type digits, with decimals after a point.", kWarn}},
         0,
         0},
        {console_id::kPercentMode, "99.4999", "100", {{"99.500% - 100.500%", kWarn}}, 0, 0},
        {console_id::kPercentMode, "100", "100.5001", {{"99.500% - 100.500%", kWarn}}, 0, 0},
        {console_id::kPercentMode, "", "", {{"99.500% - 100.500%", kWarn}}, 0, 0},
        {console_id::kMeasuredMode, "23000", "19000", {{"Completed", kOkBox}}, 100000, 100000},
        {console_id::kMeasuredMode, "23010", "18905", {{"Completed", kOkBox}}, 100043, 99500},
        {console_id::kMeasuredMode, "22885", "19000", {{"Completed", kOkBox}}, 99500, 100000},
        {console_id::kMeasuredMode, "23115", "19000", {{"X:22885 - 23115", kWarn}}, 0, 0},
        {console_id::kMeasuredMode, "23000", "19095", {{"Y:18905 - 19095", kWarn}}, 0, 0},
        {console_id::kMeasuredMode, "", "", {{"X:22885 - 23115", kWarn}}, 0, 0},
        {console_id::kMeasuredMode, "23000", "", {{"Y:18905 - 19095", kWarn}}, 0, 0},
    };
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.x + " / " + c.y);
            ASSERT_TRUE(windows.Click(console.window(), c.mode));
            windows.Type(console.window(), console_id::kCorrectionX, c.x);
            windows.Type(console.window(), console_id::kCorrectionY, c.y);
            Click(console, console_id::kWriteXY);
            EXPECT_EQ(Boxes(), c.boxes);
            const auto sent = SentOf(kScaleCommand);
            if (c.boxes[0].text != "Completed") {
                EXPECT_TRUE(SentRequests().empty());
                continue;
            }
            ASSERT_EQ(sent.size(), 3u);
            const std::int32_t expected[3][2] = {
                {c.sentX, 100000}, {c.sentY, 100000}, {100000, 100000}};
            for (std::size_t axis = 0; axis < 3; ++axis) {
                EXPECT_EQ(sent[axis].payload[2], axis);  // the sub-code names the axis
                EXPECT_EQ(sent[axis].Dword(4), expected[axis][0]);
                EXPECT_EQ(sent[axis].Dword(8), expected[axis][1]);
            }
        }
    });
}

TEST_F(CalibrationProcedures, WriteXYReportsEachAxisAndStillSendsTheRest) {
    struct Case {
        std::vector<Bytes> replies;
        std::vector<Box> boxes;
    };
    const Case cases[] = {
        {{kRefused, kOk, kOk}, {{"error X", kStopIcon}}},
        {{kOk, kRefused, kOk}, {{"error Y", kStopIcon}}},
        {{kOk, kOk, kRefused}, {{"error Z", kStopIcon}}},
        {{kRefused, kRefused, kOk}, {{"error X", kStopIcon}, {"error Y", kStopIcon}}},
        {{kRefused, kRefused, kRefused},
         {{"error X", kStopIcon}, {"error Y", kStopIcon}, {"error Z", kStopIcon}}},
    };
    Run([&](ConsoleDialog& console) {
        windows.Type(console.window(), console_id::kCorrectionX, "100");
        windows.Type(console.window(), console_id::kCorrectionY, "100");
        for (const Case& c : cases) {
            Click(console, console_id::kWriteXY, c.replies);
            EXPECT_EQ(Boxes(), c.boxes);
            EXPECT_EQ(SentOf(kScaleCommand).size(), 3u);
        }
    });
}

TEST_F(CalibrationProcedures, CorrectionCutSendsTheTestDataInPieces) {
    const std::string longValue(2048, 'a');
    struct Case {
        const char* name;
        std::uint16_t status;
        std::string section;  // empty: no such section
        std::string data;     // what reaches the machine
        std::vector<std::size_t> pieces;
    };
    const std::string fallback(kDefaultTestData);
    const Case cases[] = {
        {"no section", 0x0001, "", fallback, {139}},
        {"error state, still ready", 0x0003, "", fallback, {139}},
        {"empty value", 0x0001, std::string("Cut=\0x=y", 8), "", {0}},
        {"two pieces", 0x0001, "Cut=" + longValue, longValue, {1024, 1024}},
        {"piece and a byte",
         0x0001,
         "Cut=" + longValue.substr(0, 1025),
         longValue.substr(0, 1025),
         {1024, 1}},
        {"equals in the value", 0x0001, std::string("K=^PD0,0;=x\0L=y", 15), "^PD0,0;=x", {9}},
        {"no equals", 0x0001, std::string("^PD0,0\0L=y", 10), fallback, {139}},
    };
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            settings.sections.clear();
            if (!c.section.empty()) settings.sections["TestData"] = c.section;
            windows.QueueBoxAnswer(ui::kIdOk);
            Click(console, console_id::kCorrectionCut,
                  {StatusReply(c.status), SensorReply(0x01), StatusReply(0x4000),
                   StatusReply(0x0001)});
            EXPECT_EQ(Boxes(),
                      (std::vector<Box>{{kCutQuestion, kQuestion}, {"Completed", kOkBox}}));
            std::vector<std::size_t> pieces;
            std::string data;
            for (const Bytes& write : fake.device.writes) {
                pieces.push_back(write.size());
                data.append(write.begin(), write.end());
            }
            EXPECT_EQ(pieces, c.pieces);
            EXPECT_EQ(data, c.data);
        }
        ASSERT_FALSE(settings.reads.empty());
        EXPECT_EQ(settings.reads[0].path, "C:\\Tools\\Hexwarden.INI");
        EXPECT_EQ(settings.reads[0].capacity, 32767u);
    });
}

// The cut starts the spindle: not with the cover open or unknown, and only
// once the technician has said a plate is clamped. No piece goes after one
// the machine did not take: the cut program would have a hole in it.
TEST_F(CalibrationProcedures, CorrectionCutChecksTheCoverAsksFirstAndStopsAtAFailedWrite) {
    struct Case {
        Bytes sensors;
        int answer;  // to the question, if it comes
        std::vector<Box> boxes;
        std::size_t writes;
        std::size_t failingWrite = SIZE_MAX;  // the device's writes count from the first row
    };
    const std::vector<Box> asked = OneBox(kCutQuestion, kQuestion);
    const Case cases[] = {
        {SensorReply(0), ui::kIdOk, {asked[0], {"error", kStopIcon}}, 1, 1},
        {SensorReply(0x40), ui::kIdOk, OneBox("Close the cover first.", kWarn), 0},
        {kRefused, ui::kIdOk, OneBox("error", kStopIcon), 0},
        {SensorReply(0xBF), ui::kIdCancel, asked, 0},
        {SensorReply(0xBF), ui::kIdOk, {asked[0], {"Completed", kOkBox}}, 3},
    };
    settings.sections["TestData"] = "Cut=" + std::string(3000, 'a');
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            windows.OnBox([&](const auto&) { return c.answer; });
            fake.device.failingWrite = c.failingWrite;
            Click(console, console_id::kCorrectionCut,
                  {StatusReply(0x0001), c.sensors, StatusReply(0x4000), StatusReply(0x0001)});
            EXPECT_EQ(Boxes(), c.boxes);
            EXPECT_EQ(fake.device.writes.size(), c.writes);
        }
    });
}

// Once the data went, the progress window "Test cut" stays up until the
// machine has left its origin and stands ready at it again; Stop stops the
// motion.
TEST_F(CalibrationProcedures, CorrectionCutIsWatchedUntilBackAtTheOrigin) {
    struct Case {
        const char* name;
        std::vector<std::uint16_t> statuses;  // read after the data went
        bool stop;                            // Stop pressed at the first pump
        std::vector<Box> ends;                // after the question
    };
    const Case cases[] = {
        {"ready at first, then cutting, then back",
         {0x0001, 0x4000, 0x4000, 0x0001},
         false,
         OneBox("Completed", kOkBox)},
        {"back with the failed bit", {0x4000, 0x2001}, false, OneBox("Failed", kStopIcon)},
        {"error state", {0x4000, 0x0003}, false, OneBox("Failed", kStopIcon)},
        {"no answer",
         {0x4000, 0xFFFF},
         false,
         OneBox("The machine stopped answering. The test cut's end is unknown.", kWarn)},
        {"never leaves the origin", std::vector<std::uint16_t>(120, 0x0001), false,
         OneBox("The machine did not start the test cut.", kWarn)},
        {"stopped", {0x4000}, true, {}},
    };
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            std::vector<Bytes> replies = {StatusReply(0x0001), SensorReply(0)};
            for (std::uint16_t status : c.statuses) replies.push_back(StatusReply(status));
            std::string shown;
            bool consoleEnabled = true;
            windows.OnPump([&] {
                const ui::Dialog* progress = windows.FindDialog(progress_id::kDialog);
                if (progress == nullptr || !shown.empty()) return;
                shown = progress->Title() + ": " +
                        windows.items.ItemText(progress->window(), progress_id::kStatusText);
                consoleEnabled = console.IsWindowEnabled();
                if (c.stop) windows.Click(progress->window(), progress_id::kStop);
            });
            windows.QueueBoxAnswer(ui::kIdOk);
            Click(console, console_id::kCorrectionCut, std::move(replies));
            windows.OnPump({});
            std::vector<Box> boxes = OneBox(kCutQuestion, kQuestion);
            boxes.insert(boxes.end(), c.ends.begin(), c.ends.end());
            EXPECT_EQ(Boxes(), boxes);
            EXPECT_EQ(shown, "Test cut: Cutting the test figure...");
            EXPECT_FALSE(consoleEnabled);
            EXPECT_EQ(SentOf(kStopMotionCommand).size(), c.stop ? 1u : 0u);
            EXPECT_EQ(windows.FindDialog(progress_id::kDialog), nullptr);
            EXPECT_TRUE(console.IsWindowEnabled());
            EXPECT_GT(console.SensorTimerId(), 0);
        }
    });
}

// The system's section read loses the first section of a file saved with a
// UTF-8 byte-order mark (the fake settings file holds none); the console
// reads that file itself, its first section and those after it.
TEST_F(CalibrationProcedures, SettingsFileSavedWithAByteOrderMarkIsReadAfterTheMark) {
    files.Put("C:\\Tools\\Hexwarden.INI",
              "\xEF\xBB\xBF[TestData]\r\nCut=^PA0,0;\r\n[CheckLoadX]\r\nPower=70\r\n");
    Run([&](ConsoleDialog& console) {
        windows.QueueBoxAnswer(ui::kIdOk);
        Click(console, console_id::kCorrectionCut, {StatusReply(0x0001), SensorReply(0xBF)});
        ASSERT_EQ(fake.device.writes.size(), 1u);
        EXPECT_EQ(std::string(fake.device.writes[0].begin(), fake.device.writes[0].end()),
                  "^PA0,0;");
        EXPECT_TRUE(settings.reads.empty());
    });
}

TEST_F(CalibrationProcedures, CorrectionCutOnlyGoesToAMachineReadyAtTheOrigin) {
    struct Case {
        Bytes status;
        Box box;
    };
    // A status word that does not come is no answer, not a ready machine.
    const Case cases[] = {
        {StatusReply(0x0000), {"Hit [ENTER]    ", kWarn}},
        {StatusReply(0x4002), {"Hit [ENTER]    ", kWarn}},
        {kRefused, {"error", kStopIcon}},
    };
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            Click(console, console_id::kCorrectionCut, {c.status});
            EXPECT_EQ(Boxes(), std::vector<Box>{c.box});
            EXPECT_TRUE(fake.device.writes.empty());
        }
    });
    EXPECT_TRUE(settings.reads.empty());
}

TEST_F(CalibrationProcedures, WriteLaserChecksTheRangeAfterReadingTheOffsets) {
    struct Case {
        std::string x, y;
        std::vector<Bytes> replies;  // GetLaserOffset, SetLaserOffset
        Box box;
        bool written;
    };
    const Bytes offsets = DwordsReply({5, 5});
    const Case cases[] = {
        {"-1000", "1000", {offsets, kOk}, {"Completed", kOkBox}, true},
        {"1001", "0", {offsets, kOk}, {"-10.00mm - +10.00mm", kWarn}, false},
        {"0", "-1001", {offsets, kOk}, {"-10.00mm - +10.00mm", kWarn}, false},
        {"10", "20", {kRefused}, {"error", kStopIcon}, false},
        {"10", "20", {offsets, kRefused}, {"error X", kStopIcon}, true},
        {"10", "2.5", {}, {"2.5 is not a number here: type whole 1/100 mm.", kWarn}, false},
    };
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.x + " / " + c.y);
            windows.Type(console.window(), console_id::kLaserX, c.x);
            windows.Type(console.window(), console_id::kLaserY, c.y);
            Click(console, console_id::kWriteLaser, c.replies);
            EXPECT_EQ(Boxes(), std::vector<Box>{c.box});
            const auto sent = SentOf(kSetLaserCommand);
            ASSERT_EQ(sent.size(), c.written ? 1u : 0u);
            if (!c.written) continue;
            EXPECT_EQ(sent[0].Dword(4), std::stoi(c.x));  // not added to the offsets read
            EXPECT_EQ(sent[0].Dword(8), std::stoi(c.y));
        }
    });
}

TEST_F(CalibrationProcedures, CalcWriteLaserAddsTheToolPositionDifference) {
    Run([&](ConsoleDialog& console) {
        Click(console, console_id::kToolPosition, {DwordsReply({1000, 2000, 7, 8})});
        EXPECT_TRUE(Boxes().empty());
        EXPECT_EQ(console.ItemText(console_id::kToolX), "X:1000");
        EXPECT_EQ(console.ItemText(console_id::kToolY), "Y:2000");

        Click(
            console, console_id::kCalcWriteLaser,
            {DwordsReply({1100, 1900, 0, 0}), DwordsReply({50, -20}), kOk, DwordsReply({-50, 80})});
        EXPECT_EQ(Boxes(), OneBox("Completed", kOkBox));
        auto sent = SentOf(kSetLaserCommand);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].Dword(4), -50);
        EXPECT_EQ(sent[0].Dword(8), 80);
        EXPECT_EQ(console.ItemText(console_id::kLaserX), "-50");
        EXPECT_EQ(console.ItemText(console_id::kLaserY), "80");

        // The remembered position stays; a sum beyond the range writes
        // nothing but the edits still show the machine's offsets.
        Click(console, console_id::kCalcWriteLaser,
              {DwordsReply({0, 2000, 0, 0}), DwordsReply({1, 2}), DwordsReply({1, 2})});
        EXPECT_EQ(Boxes(), OneBox("-10.00mm - +10.00mm", kWarn));
        EXPECT_TRUE(SentOf(kSetLaserCommand).empty());
        EXPECT_EQ(console.ItemText(console_id::kLaserX), "1");
        EXPECT_EQ(console.ItemText(console_id::kLaserY), "2");

        // A position read of fewer than four items leaves everything as it was.
        Click(console, console_id::kToolPosition, {DwordsReply({1, 2, 3})});
        EXPECT_EQ(Boxes(), OneBox("error", kStopIcon));
        EXPECT_EQ(console.ItemText(console_id::kToolX), "X:1000");
    });
}

TEST_F(CalibrationProcedures, CalcWriteLaserNeedsAToolPositionFirst) {
    Run([&](ConsoleDialog& console) {
        Click(console, console_id::kCalcWriteLaser, {DwordsReply({1100, 1900, 0, 0})});
        EXPECT_EQ(Boxes(), OneBox("Press Tool Pos first", kWarn));
        EXPECT_TRUE(SentRequests().empty());
    });
}

TEST_F(CalibrationProcedures, Y0OffsetTypedOrWorkedOut) {
    struct Case {
        int button;
        std::string typed;
        std::vector<Bytes> replies;
        std::string shown;  // edit 1038 afterwards
        Box box;
        std::vector<std::int32_t> written;
    };
    const Case cases[] = {
        {console_id::kWriteY0, "-1000", {kOk}, "-1000", {"Completed", kOkBox}, {-1000}},
        {console_id::kWriteY0, "1001", {}, "1001", {"-10.00mm - +10.00%", kWarn}, {}},
        {console_id::kWriteY0, "12", {kRefused}, "12", {"error Y", kStopIcon}, {12}},
        {console_id::kWriteY0,
         "1,5",
         {},
         "1,5",
         {"1,5 is not a number here: type whole 1/100 mm.", kWarn},
         {}},
        {console_id::kCalcWriteY0,
         "",
         {DwordsReply({9, 500, 0, 0}), DwordsReply({200}), kOk},
         "300",
         {"Completed", kOkBox},
         {300}},
        {console_id::kCalcWriteY0,
         "",
         {DwordsReply({9, 1500, 0, 0}), DwordsReply({300})},
         "1200",
         {"-10.00mm - +10.00%", kWarn},
         {}},
        {console_id::kCalcWriteY0,
         "7",
         {DwordsReply({9, 1500, 0, 0}), kRefused},
         "7",
         {"error", kStopIcon},
         {}},
    };
    Run([&](ConsoleDialog& console) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.shown);
            windows.Type(console.window(), console_id::kY0Offset, c.typed);
            Click(console, c.button, c.replies);
            EXPECT_EQ(Boxes(), std::vector<Box>{c.box});
            EXPECT_EQ(console.ItemText(console_id::kY0Offset), c.shown);
            std::vector<std::int32_t> written;
            for (const Sent& s : SentOf(kSetY0Command)) written.push_back(s.Dword(4));
            EXPECT_EQ(written, c.written);
        }
    });
}

}  // namespace
}  // namespace hw
