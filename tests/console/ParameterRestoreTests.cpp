// Put Parameters against the simulated machine: which files reach the
// machine, the boxes the technician answers, the backup kept before each
// write and the read-back after it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "SimEnvironment.h"
#include "console/ConsoleDialog.h"
#include "console/ConsoleIds.h"
#include "console/ParameterBackups.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeSettingsFile.h"
#include "fakes/FixedProgramFile.h"
#include "ui/headless/HeadlessWindowSystem.h"

namespace hw {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr const char* kFile = "C:\\Service\\qmv.par";
const std::string kFolder = "C:\\Users\\tech\\AppData\\Local\\Hexwarden\\Backups";
// The simulated PC's local time when the tests start.
const std::string kFirstBackup = kFolder + "\\2026-12-09 08-00-00 QMV-240.par";

struct Box {
    std::string text;
    std::uint32_t style;
    bool operator==(const Box&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Box& box) {
    return out << '"' << box.text << "\"/" << box.style;
}

const std::uint32_t kConfirm = ui::kMbOkCancel | ui::kMbDefButton2;
const std::uint32_t kGoOnAnyway = ui::kMbYesNo | ui::kMbDefButton2 | ui::kMbIconExclamation;

class PutParameters : public ::testing::Test {
  protected:
    // Runs the console and puts the file kFile holding contents, the
    // technician giving answers to the boxes; returns the boxes shown.
    std::vector<Box> Put(const Bytes& contents, std::vector<int> answers = {}) {
        files.files[kFile] = contents;
        windows.OnModal(console_id::kDialog, [&](ui::Dialog& console) {
            windows.ClearBoxes();
            for (int answer : answers) windows.QueueBoxAnswer(answer);
            windows.QueueFileAnswer(kFile);
            windows.Click(console.window(), console_id::kPutParameters);
        });
        ConsoleDialog console(services);
        console.DoModal();
        std::vector<Box> boxes;
        for (const auto& box : windows.Boxes()) boxes.push_back({box.text, box.style});
        return boxes;
    }

    Bytes Held() { return env.Machine().Parameters().Block(); }

    // A well-formed block of the machine with another serial number.
    static Bytes Other() { return SimParameters("XYZ9876").Block(); }

    static std::string ConfirmText(std::size_t differing) {
        return "qmv.par: " + std::to_string(differing) +
               " of 2500 bytes differ from the machine's parameter block.\nWrite it to the "
               "machine?";
    }

    std::vector<std::string> Backups() { return files.FileNamesIn(kFolder); }

    TestClock clock{1};
    SimEnvironment env{clock};
    ui::HeadlessWindowSystem windows;
    ui::Application app{windows, "Hexwarden"};
    LinkPlatform link = env.Link(app.alerts());
    test::FixedProgramFile program;
    test::FakeFileSystem files;
    test::FakeSettingsFile settings;
    ConsoleServices services{app, link, program, files, settings};
};

std::size_t Differing(const Bytes& a, const Bytes& b) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
    return n;
}

// Files that must not reach the machine: nothing is sent, nothing backed up.
TEST_F(PutParameters, FilesThatAreNoChangeOfTheBlockAreNotWritten) {
    const Bytes before = Held();
    struct Case {
        const char* what;
        Bytes contents;
        std::vector<Box> boxes;
    };
    const Case cases[] = {
        {"100 bytes",
         Bytes(100, 0x55),
         {{"qmv.par is not a parameter block of this machine: it holds 100 bytes, the "
           "machine's block holds 2500 bytes.",
           ui::kMbIconExclamation}}},
        {"a saved report, longer than the block",
         Bytes(4000, 'R'),
         {{"qmv.par is not a parameter block of this machine: it holds 4000 bytes, the "
           "machine's block holds 2500 bytes.",
           ui::kMbIconExclamation}}},
        {"the block the machine holds",
         before,
         {{"The machine already holds this parameter block.", ui::kMbIconInformation}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Put(c.contents), c.boxes) << c.what;
    }
    EXPECT_EQ(Held(), before);
    EXPECT_TRUE(Backups().empty());
    for (const std::string& event : env.Machine().Events()) {
        EXPECT_EQ(event.find("parameter put"), std::string::npos) << event;
        EXPECT_EQ(event.find("parameter block replaced"), std::string::npos) << event;
    }
}

TEST_F(PutParameters, AnUnreadableMachineBlockStopsBeforeAnything) {
    const Bytes before = Held();
    env.Faults().failNextRead = true;
    EXPECT_EQ(Put(Other()), (std::vector<Box>{{"error", ui::kMbIconHand}}));
    EXPECT_EQ(Held(), before);
    EXPECT_TRUE(Backups().empty());
}

// The confirmation decides; OK backs the old block up in a folder made for it.
TEST_F(PutParameters, TheTechnicianConfirmsAndTheOldBlockIsBackedUp) {
    const Bytes before = Held();
    const Box confirm{ConfirmText(Differing(Other(), before)), kConfirm};
    EXPECT_EQ(Put(Other(), {ui::kIdCancel}), std::vector<Box>{confirm});
    EXPECT_EQ(Held(), before);
    EXPECT_TRUE(Backups().empty());

    EXPECT_EQ(Put(Other(), {ui::kIdOk}), (std::vector<Box>{confirm, {"Completed", ui::kMbOk}}));
    EXPECT_EQ(Held(), Other());
    EXPECT_EQ(files.files.at(kFirstBackup), before);
    EXPECT_EQ(windows.Boxes()[0].caption, "Hexwarden");
}

TEST_F(PutParameters, ABackupThatCannotBeWrittenAsksWhetherToGoOn) {
    const Bytes before = Held();
    files.openFailures[kFolder + "\\"] = FileException::Cause::AccessDenied;
    const Box confirm{ConfirmText(Differing(Other(), before)), kConfirm};
    const Box goOn{"Access to " + kFolder + " was denied.\nWrite the file to the machine anyway?",
                   kGoOnAnyway};
    EXPECT_EQ(Put(Other(), {ui::kIdOk, ui::kIdNo}), (std::vector<Box>{confirm, goOn}));
    EXPECT_EQ(Held(), before);

    EXPECT_EQ(Put(Other(), {ui::kIdOk, ui::kIdYes}),
              (std::vector<Box>{confirm, goOn, {"Completed", ui::kMbOk}}));
    EXPECT_EQ(Held(), Other());
    EXPECT_TRUE(files.files.size() == 1 && files.files.count(kFile) == 1);
}

// A block the machine stores wrongly, or that cannot be read back, is
// reported with the way back.
TEST_F(PutParameters, AWriteTheReadBackDoesNotConfirmIsAnError) {
    env.Faults().corruptNextPut = true;
    const auto boxes = Put(Other(), {ui::kIdOk});
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1], (Box{"The machine's parameter block differs from the file after writing "
                             "(first difference at byte 1250).\nThe block it held before is "
                             "saved as " +
                                 kFirstBackup + ".",
                             ui::kMbIconHand}));

    // The read-back itself fails: the first bulk read after the confirmation.
    windows.OnBox([&](const ui::HeadlessWindowSystem::BoxRecord& box) {
        if (box.style == kConfirm) env.Faults().failNextRead = true;
        return ui::kIdOk;
    });
    const auto unreadable = Put(SimParameters("QMV0117").Block());
    ASSERT_EQ(unreadable.size(), 2u);
    EXPECT_EQ(unreadable[1].text.rfind("The machine's parameter block could not be read back "
                                       "after writing.\nThe block it held before is saved as " +
                                           kFolder + "\\",
                                       0),
              0u)
        << unreadable[1].text;
    EXPECT_EQ(Held(), SimParameters("QMV0117").Block());
}

// Backups the console did not name are left alone.
TEST_F(PutParameters, OnlyTheNewestBackupsAreKept) {
    files.CreateFolder(kFolder);
    files.Put(kFolder + "\\notes.txt", "mine");
    for (int day = 1; day <= 21; ++day) {
        char name[40];
        std::snprintf(name, sizeof name, "\\2026-11-%02d 09-00-00 QMV-240.par", day);
        files.Put(kFolder + name, "old");
    }
    Put(Other(), {ui::kIdOk});
    Put(SimParameters("QMV0117").Block(), {ui::kIdOk});

    auto kept = Backups();
    std::sort(kept.begin(), kept.end());
    ASSERT_EQ(kept.size(), kKeptParameterBackups + 1);
    EXPECT_EQ(kept[0], "2026-11-04 09-00-00 QMV-240.par");
    EXPECT_EQ(kept[18], "2026-12-09 08-00-00 QMV-240.par");
    EXPECT_EQ(kept[19], "2026-12-09 08-00-00-2 QMV-240.par");
    EXPECT_EQ(kept[20], "notes.txt");
    EXPECT_EQ(files.files.at(kFolder + "\\" + kept[19]), Other());
}

TEST(ParameterBackupName, NamesSortByTimeAndStayInsideTheFolder) {
    const LocalTime time{2026, 3, 4, 5, 6, 7};
    EXPECT_EQ(ParameterBackupName(time, "QMV-240"), "2026-03-04 05-06-07 QMV-240.par");
    EXPECT_EQ(ParameterBackupName(time, "\\\\srv\\Q:M*V?\"<>|/\t"),
              "2026-03-04 05-06-07 __srv_Q_M_V_______.par");
}

}  // namespace
}  // namespace hw
