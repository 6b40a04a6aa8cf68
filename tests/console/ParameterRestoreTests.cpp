// Put Parameters against the simulated machine: which files reach the
// machine, the boxes the technician answers, the backup kept before each
// write and the read-back after it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "SimulatedConsoleParts.h"
#include "console/ConsoleDialog.h"
#include "console/ConsoleIds.h"
#include "console/parameters/ParameterBackups.h"
#include "fakes/FakePlatform.h"

namespace hw {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Box = std::pair<std::string, std::uint32_t>;  // text and style

constexpr const char* kFile = "C:\\Service\\qmv.par";
const std::string kFolder = "C:\\Users\\tech\\AppData\\Local\\Hexwarden\\Backups";
// Named from the simulated PC's local time when the console starts.
const std::string kBackup = kFolder + "\\2026-12-09 08-00-00 QMV-240 QMV0117.par";

// The console on a simulated machine of its own, with disk files in memory.
struct Bench : test::SimulatedConsoleParts {
    // Puts the file kFile holding contents, the technician giving answers to
    // the boxes; returns the boxes shown.
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
        for (const auto& box : windows.Boxes()) boxes.emplace_back(box.text, box.style);
        return boxes;
    }
    Bytes Held() { return env.Machine().Parameters().Block(); }
};

// A well-formed block of the machine with another serial number: from the
// one the simulated machine starts with, its 7 serial bytes and the 4 of the
// check sum differ.
const Bytes kOther = SimParameters("XYZ9876").Block();
Box Confirm(int differing) {
    return {"qmv.par: " + std::to_string(differing) +
                " of 2500 bytes differ from the machine's parameter block.\nWrite it to "
                "QMV-240 on USB001?",
            ui::kMbOkCancel | ui::kMbDefButton2};
}
const Box kConfirm = Confirm(11);
const Box kGoOn{"Access to " + kFolder + " was denied.\nWrite the file to the machine anyway?",
                ui::kMbYesNo | ui::kMbDefButton2 | ui::kMbIconExclamation};
const Box kCompleted{"Completed", ui::kMbOk};

Box WrongSize(int bytes) {
    return {"qmv.par is not a parameter block of this machine: it holds " + std::to_string(bytes) +
                " bytes, the machine's block holds 2500 bytes.",
            ui::kMbIconExclamation};
}

TEST(PutParameters, WritesOnlyAChangedBlockTheTechnicianConfirmsAndProvesIt) {
    enum class After { Unchanged, File, Neither };
    using enum After;
    using Arrange = std::function<void(Bench&)>;
    struct Case {
        const char* what;
        Arrange arrange;
        Bytes file;  // empty: the block the machine holds
        std::vector<int> answers;
        std::vector<Box> boxes;
        After held;
        bool backedUp;
    };
    const Arrange failRead = [](Bench& b) { b.env.Faults().failNextRead = true; };
    const Arrange failFolder = [](Bench& b) {
        b.files.openFailures[kFolder + "\\"] = FileException::Cause::AccessDenied;
    };
    const Arrange corrupt = [](Bench& b) { b.env.Faults().corruptNextPut = true; };
    // The read-back is the first bulk read after the confirmation.
    const Arrange failReadBack = [](Bench& b) {
        b.windows.OnBox([&b](const ui::HeadlessWindowSystem::BoxRecord&) {
            b.env.Faults().failNextRead = true;
            return ui::kIdOk;
        });
    };
    const Box held{"The machine already holds this parameter block.", ui::kMbIconInformation};
    const Box error{"error", ui::kMbIconHand};
    const std::string saved = "\nThe block it held before is saved as " + kBackup + ".";
    const std::string written = "The parameter block was written. ";
    const std::string kept = "The machine kept its previous block: nothing changed." + saved;
    const Box differs{written +
                          "The machine now holds a block that differs from the file at byte 1250 "
                          "and from its previous block at byte 8." +
                          saved,
                      ui::kMbIconHand};
    const Box unreadable{written + "The machine's parameter block could not be read back." + saved,
                         ui::kMbIconHand};
    const Box refused{"The parameter block could not be written. " + kept, ui::kMbIconExclamation};
    const Box notStored{written + kept, ui::kMbIconExclamation};
    const Arrange failWrite = [](Bench& b) { b.env.Faults().failNextWrite = true; };
    // Edited by hand: its check sum no longer matches, and the machine keeps its block.
    Bytes edited = kOther;
    edited[48] ^= 0x01;
    const int ok = ui::kIdOk;
    const Case cases[] = {
        {"100 bytes", {}, Bytes(100, 0x55), {}, {WrongSize(100)}, Unchanged, false},
        {"the block the machine holds", {}, {}, {}, {held}, Unchanged, false},
        {"machine block unreadable", failRead, kOther, {}, {error}, Unchanged, false},
        {"cancelled", {}, kOther, {ui::kIdCancel}, {kConfirm}, Unchanged, false},
        {"confirmed, backup folder made", {}, kOther, {}, {kConfirm, kCompleted}, File, true},
        {"no backup, no", failFolder, kOther, {ok, ui::kIdNo}, {kConfirm, kGoOn}, Unchanged, false},
        {"no backup, yes", failFolder, kOther, {}, {kConfirm, kGoOn, kCompleted}, File, false},
        {"stored corrupted", corrupt, kOther, {}, {kConfirm, differs}, Neither, true},
        {"read-back fails", failReadBack, kOther, {}, {kConfirm, unreadable}, File, true},
        {"write fails", failWrite, kOther, {}, {kConfirm, refused}, Unchanged, true},
        {"not stored", {}, edited, {}, {Confirm(12), notStored}, Unchanged, true},
    };
    for (const Case& c : cases) {
        Bench bench;
        if (c.arrange) c.arrange(bench);
        const Bytes before = bench.Held();
        EXPECT_EQ(bench.Put(c.file.empty() ? before : c.file, c.answers), c.boxes) << c.what;
        const Bytes held = bench.Held();
        EXPECT_EQ(held == before, c.held == After::Unchanged) << c.what;
        EXPECT_EQ(held == c.file, c.held == After::File) << c.what;
        const auto backup = bench.files.files.find(kBackup);
        ASSERT_EQ(backup != bench.files.files.end(), c.backedUp) << c.what;
        if (c.backedUp) {
            EXPECT_EQ(backup->second, before) << c.what;
        }
        EXPECT_EQ(bench.files.files.size(), c.backedUp ? 2u : 1u) << c.what;
    }
}

// Backups the console did not name are left alone; a second backup in the
// same second sorts after the first.
TEST(PutParameters, OnlyTheNewestBackupsAreKept) {
    Bench bench;
    bench.files.CreateFolder(kFolder);
    bench.files.Put(kFolder + "\\notes.txt", "mine");
    for (int day = 1; day <= 21; ++day) {
        char name[40];
        std::snprintf(name, sizeof name, "\\2026-11-%02d 09-00-00 QMV-240.par", day);
        bench.files.Put(kFolder + name, "old");
    }
    bench.Put(kOther);
    bench.Put(SimParameters("QMV0117").Block());

    auto kept = bench.files.FileNamesIn(kFolder);
    std::sort(kept.begin(), kept.end());
    ASSERT_EQ(kept.size(), kKeptParameterBackups + 1);
    EXPECT_EQ(kept[0], "2026-11-04 09-00-00 QMV-240.par");
    EXPECT_EQ(kept[18], "2026-12-09 08-00-00 QMV-240 QMV0117.par");
    EXPECT_EQ(kept[19], "2026-12-09 08-00-00-2 QMV-240 QMV0117.par");
    EXPECT_EQ(kept[20], "notes.txt");
    EXPECT_EQ(bench.files.files.at(kFolder + "\\" + kept[19]), kOther);
}

// With the PC's clock behind the backups there, the new backup sorts
// oldest; it is kept all the same, and the oldest of the others goes.
TEST(ParameterBackups, TheNewBackupIsKeptWhenTheClockIsBehind) {
    test::FakeFileSystem files;
    test::FakeSystem system;
    files.CreateFolder(kFolder);
    for (int day = 1; day <= 20; ++day) {
        char name[40];
        std::snprintf(name, sizeof name, "\\2027-01-%02d 09-00-00 QMV-240.par", day);
        files.Put(kFolder + name, "later");
    }
    const std::string path = SaveParameterBackup(files, system, "QMV-240", kOther);
    EXPECT_EQ(path, kFolder + "\\2026-12-09 10-30-00 QMV-240.par");
    EXPECT_EQ(files.files.at(path), kOther);
    EXPECT_EQ(files.files.size(), kKeptParameterBackups);
    EXPECT_FALSE(files.files.contains(kFolder + "\\2027-01-01 09-00-00 QMV-240.par"));
}

// A backup names its machine by queue and the end of its device instance;
// a file with another machine's name in it is told apart by that name.
TEST(ParameterBackupName, NamesTheMachineAndTellsAnotherMachinesBackup) {
    EXPECT_EQ(BackupMachineName("QMV-240", "QMV0117"), "QMV-240 QMV0117");
    EXPECT_EQ(BackupMachineName("QMV-240", "6&2bd1a7f&0&1"), "QMV-240 1a7f&0&1");
    EXPECT_EQ(BackupMachineName("QMV-240", ""), "QMV-240");
    const std::string machine = "QMV-240 (Copy 1) QMV0342";
    struct Case {
        const char* name;
        std::optional<std::string> other;
    } const cases[] = {
        {"2026-12-09 08-00-00 QMV-240 QMV0117.par", "QMV-240 QMV0117"},
        {"2026-12-09 08-00-00-3 QMV-240 QMV0117.par", "QMV-240 QMV0117"},
        {"2026-12-09 08-00-00 QMV-240 (Copy 1) QMV0342.par", std::nullopt},
        {"2026-12-09 08-00-00-2 QMV-240 (Copy 1) QMV0342.par", std::nullopt},
        {"qmv.par", std::nullopt},
        {"2026-12-09 08-00-00.par", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(OtherMachineBackup(c.name, machine), c.other) << c.name;
}

TEST(ParameterBackupName, NamesSortByTimeAndStayInsideTheFolder) {
    const LocalTime time{2026, 3, 4, 5, 6, 7};
    EXPECT_EQ(ParameterBackupName(time, "QMV-240"), "2026-03-04 05-06-07 QMV-240.par");
    EXPECT_EQ(ParameterBackupName(time, "\\\\srv\\Q:M*V?\"<>|/\t"),
              "2026-03-04 05-06-07 __srv_Q_M_V_______.par");
}

}  // namespace
}  // namespace hw
