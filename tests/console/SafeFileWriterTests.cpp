#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "console/files/SafeFileWriter.h"
#include "fakes/FakeFileSystem.h"

namespace hw {
namespace {

using test::FakeFileSystem;
using Cause = FileException::Cause;

TEST(PathBeside, NamesAFileInTheSameFolder) {
    struct Case {
        const char* path;
        const char* expected;
    };
    for (const Case& c :
         {Case{"C:\\Backup\\qmv.par", "C:\\Backup\\new"}, Case{"C:\\qmv.par", "C:\\new"},
          Case{"C:qmv.par", "C:new"}, Case{"\\\\pc\\share\\qmv", "\\\\pc\\share\\new"},
          Case{"dir/sub/qmv", "dir/sub/new"}, Case{"qmv.par", "new"}, Case{"", "new"}}) {
        EXPECT_EQ(PathBeside(c.path, "new"), c.expected) << c.path;
    }
}

class SafeWrite : public ::testing::Test {
  protected:
    // Writes text through a SafeFileWriter; the exception's text, if any.
    std::optional<std::string> Write(const std::string& text, bool commit = true) {
        try {
            SafeFileWriter out(files, kPath);
            out.file().Write(text.data(), static_cast<std::uint32_t>(text.size()));
            if (commit) out.Commit();
        } catch (const FileException& error) {
            return error.ErrorMessage();
        }
        return std::nullopt;
    }

    // Only the chosen file is left in the folder.
    void ExpectNoTemporary() const {
        for (const auto& [path, bytes] : files.files) EXPECT_EQ(path, kPath);
        EXPECT_EQ(files.openFiles, 0);
    }

    const std::string kPath = "C:\\Backup\\qmv.par";
    FakeFileSystem files;
};

TEST_F(SafeWrite, ACommittedFileReplacesTheOldOne) {
    files.Put(kPath, "old backup");
    EXPECT_EQ(Write("new"), std::nullopt);
    EXPECT_EQ(files.Text(kPath), "new");
    ExpectNoTemporary();
}

TEST_F(SafeWrite, AFileNeverCommittedLeavesTheOldOneAndNoTemporary) {
    files.Put(kPath, "old backup");
    EXPECT_EQ(Write("half", false), std::nullopt);
    EXPECT_EQ(files.Text(kPath), "old backup");
    ExpectNoTemporary();
    // Nor is anything created when there was no file.
    files.files.clear();
    Write("half", false);
    EXPECT_TRUE(files.files.empty());
}

TEST_F(SafeWrite, ErrorsNameTheChosenFile) {
    files.Put(kPath, "old backup");
    files.diskFullAfter = 2;
    EXPECT_EQ(Write("new"), "Disk full while accessing C:\\Backup\\qmv.par.");
    EXPECT_EQ(files.Text(kPath), "old backup");
    ExpectNoTemporary();

    files.diskFullAfter.reset();
    files.openFailures["C:\\Backup\\"] = Cause::AccessDenied;
    EXPECT_EQ(Write("new"), "Access to C:\\Backup\\qmv.par was denied.");
    EXPECT_EQ(files.Text(kPath), "old backup");
}

TEST_F(SafeWrite, AFailedReplaceKeepsTheOldFileAndRemovesTheTemporary) {
    files.Put(kPath, "old backup");
    files.replaceFailure = Cause::SharingViolation;
    EXPECT_EQ(Write("new"), "A sharing violation occurred while accessing C:\\Backup\\qmv.par.");
    EXPECT_EQ(files.Text(kPath), "old backup");
    ExpectNoTemporary();
}

// What is moved over the chosen file is on the disk: written, flushed and
// closed before the move.
TEST_F(SafeWrite, TheTemporaryLiesBesideTheChosenFileAndIsOnDiskBeforeTheMove) {
    EXPECT_EQ(Write("new"), std::nullopt);
    ASSERT_EQ(files.replaces.size(), 1u);
    const auto& [from, to] = files.replaces[0];
    EXPECT_EQ(PathBeside(from, ""), "C:\\Backup\\");
    EXPECT_NE(from, kPath);
    EXPECT_EQ(to, kPath);
    EXPECT_EQ(files.events, (std::vector<std::string>{"write " + from, "flush " + from,
                                                      "close " + from, "replace " + from}));
}

TEST_F(SafeWrite, AFailedFlushMovesNothing) {
    files.Put(kPath, "old backup");
    files.flushFailure = Cause::DiskFull;
    EXPECT_EQ(Write("new"), "Disk full while accessing C:\\Backup\\qmv.par.");
    EXPECT_TRUE(files.replaces.empty());
    EXPECT_EQ(files.Text(kPath), "old backup");
    ExpectNoTemporary();
}

}  // namespace
}  // namespace hw
