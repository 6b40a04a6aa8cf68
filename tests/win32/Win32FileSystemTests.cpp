// Disk files by path on the real OS (Wine on the build machine): opening,
// replacing, removing and temporary names, with their errors, all in a
// folder whose name lies outside the ANSI code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WideTestPlaces.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Utf8.h"

namespace hw {
namespace {

using Cause = FileException::Cause;

// A folder of its own under the temporary folder, named with letters no
// ANSI code page holds together ("Łukasz", "李"), removed with what it holds.
class Win32Files : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = test::PathOutsideCodePage("hw-files") + "\\";
        ASSERT_TRUE(CreateDirectoryW(Widen(dir).c_str(), nullptr) ||
                    GetLastError() == ERROR_ALREADY_EXISTS);
    }
    void TearDown() override {
        WIN32_FIND_DATAW found{};
        const HANDLE search = FindFirstFileW(Widen(dir + "*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileW((Widen(dir) + found.cFileName).c_str());
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        EXPECT_TRUE(RemoveDirectoryW(Widen(dir).c_str())) << "the folder and nothing else";
    }

    void WriteFile(const std::string& path, const std::string& text) {
        auto file = files.Open(path, FileSystem::Access::CreateWrite);
        file->Write(text.data(), static_cast<std::uint32_t>(text.size()));
        file->Flush();
    }

    std::string ReadFile(const std::string& path) {
        auto file = files.Open(path, FileSystem::Access::Read);
        std::string text(static_cast<std::size_t>(file->GetLength()), '\0');
        file->Read(text.data(), static_cast<std::uint32_t>(text.size()));
        return text;
    }

    template <class Call>
    Cause CauseOf(const std::string& path, Call call) {
        try {
            call();
        } catch (const FileException& error) {
            EXPECT_EQ(error.fileName(), path);
            return error.cause();
        }
        return Cause::None;
    }

    Cause OpenCause(const std::string& path, FileSystem::Access access) {
        try {
            files.Open(path, access);
        } catch (const FileException& error) {
            EXPECT_EQ(error.fileName(), path);
            return error.cause();
        }
        return Cause::None;
    }

    Win32FileSystem files;
    std::string dir;
};

TEST_F(Win32Files, AWrittenFileReadsBackAndCreatingEmptiesIt) {
    WriteFile(dir + "a.txt", "first contents");
    WriteFile(dir + "a.txt", "second");
    EXPECT_EQ(ReadFile(dir + "a.txt"), "second");
}

TEST_F(Win32Files, OpeningWhatIsNotThereNamesTheCause) {
    EXPECT_EQ(OpenCause(dir + "missing.par", FileSystem::Access::Read), Cause::FileNotFound);
    EXPECT_EQ(OpenCause(dir + "no-such-folder\\x.par", FileSystem::Access::CreateWrite),
              Cause::BadPath);
}

TEST_F(Win32Files, ReplaceMovesAFileOverAnother) {
    WriteFile(dir + "old.par", "old backup");
    WriteFile(dir + "new.tmp", "new backup");
    files.Replace(dir + "new.tmp", dir + "old.par");
    EXPECT_EQ(ReadFile(dir + "old.par"), "new backup");
    EXPECT_EQ(GetFileAttributesW(Widen(dir + "new.tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    // Also when nothing was there yet.
    WriteFile(dir + "b.tmp", "b");
    files.Replace(dir + "b.tmp", dir + "b.par");
    EXPECT_EQ(ReadFile(dir + "b.par"), "b");
}

TEST_F(Win32Files, AFailedReplaceNamesTheTargetAndLeavesItAlone) {
    WriteFile(dir + "old.par", "old backup");
    try {
        files.Replace(dir + "gone.tmp", dir + "old.par");
        ADD_FAILURE() << "no exception";
    } catch (const FileException& error) {
        EXPECT_EQ(error.cause(), Cause::FileNotFound);
        EXPECT_EQ(error.fileName(), dir + "old.par");
    }
    EXPECT_EQ(ReadFile(dir + "old.par"), "old backup");
}

TEST_F(Win32Files, RemoveAndTemporaryNames) {
    WriteFile(dir + "x.par", "x");
    const std::string first = files.TemporaryNameBeside(dir + "x.par");
    EXPECT_EQ(first.rfind(dir, 0), 0u);
    EXPECT_EQ(first.find('\\', dir.size()), std::string::npos);
    EXPECT_EQ(GetFileAttributesW(Widen(first).c_str()), INVALID_FILE_ATTRIBUTES);
    WriteFile(first, "taken");
    EXPECT_NE(files.TemporaryNameBeside(dir + "x.par"), first);
    files.Remove(first);
    EXPECT_EQ(CauseOf(first, [&] { files.Remove(first); }), Cause::FileNotFound);
    files.Remove(dir + "x.par");
    EXPECT_FALSE(files.Exists(dir + "x.par"));
}

// The check opens without emptying and leaves no file it created; a file
// that could not be replaced fails it with its cause.
TEST_F(Win32Files, TheWriteCheckChangesNothing) {
    WriteFile(dir + "kept.par", "good backup");
    files.CheckWritable(dir + "kept.par");
    EXPECT_EQ(ReadFile(dir + "kept.par"), "good backup");
    files.CheckWritable(dir + "new.par");
    EXPECT_FALSE(files.Exists(dir + "new.par"));
    EXPECT_TRUE(files.Exists(dir + "kept.par"));
    EXPECT_FALSE(files.Exists(dir.substr(0, dir.size() - 1)));  // a folder is no file

    const std::string held = dir + "held.par";
    {
        auto open = files.Open(held, FileSystem::Access::CreateWrite);
        EXPECT_EQ(CauseOf(held, [&] { files.CheckWritable(held); }), Cause::SharingViolation);
    }
    const std::string noFolder = dir + "no-such-folder\\x.par";
    EXPECT_EQ(CauseOf(noFolder, [&] { files.CheckWritable(noFolder); }), Cause::BadPath);
}

TEST_F(Win32Files, AFileOpenedForReadingCannotBeFlushed) {
    WriteFile(dir + "r.par", "r");
    auto file = files.Open(dir + "r.par", FileSystem::Access::Read);
    EXPECT_EQ(CauseOf(dir + "r.par", [&] { file->Flush(); }), Cause::AccessDenied);
}

TEST_F(Win32Files, FoldersAreMadeWithTheirParentsAndListOnlyTheirFiles) {
    const std::string nested = dir + "a\\b";
    files.CreateFolder(nested + "\\");
    files.CreateFolder(nested);  // there already
    WriteFile(nested + "\\one.par", "1");
    files.CreateFolder(nested + "\\sub");
    EXPECT_EQ(files.FileNamesIn(nested), std::vector<std::string>{"one.par"});
    EXPECT_TRUE(files.FileNamesIn(dir + "none").empty());
    EXPECT_NE(CauseOf(nested + "\\one.par", [&] { files.CreateFolder(nested + "\\one.par"); }),
              Cause::None);
    EXPECT_TRUE(DeleteFileW(Widen(nested + "\\one.par").c_str()));
    for (const std::string& folder : {nested + "\\sub", nested, dir + "a"}) {
        EXPECT_TRUE(RemoveDirectoryW(Widen(folder).c_str())) << folder;
    }
}

}  // namespace
}  // namespace hw
