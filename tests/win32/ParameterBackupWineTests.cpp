// The automatic parameter block backup on the real OS (Wine on the build
// machine): it lands in the user's own local application-data folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WideTestPlaces.h"
#include "console/parameters/ParameterBackups.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Utf8.h"
#include "sim/pc/SimClock.h"
#include "sim/pc/SimSystem.h"

namespace hw {
namespace {

using test::PathOutsideCodePage;
using test::UserRegistryValue;

TEST(ParameterBackupOnWine, LandsBelowTheUsersLocalApplicationData) {
    char localAppData[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableA("LOCALAPPDATA", localAppData, sizeof localAppData), 0u);
    TestClock clock;
    SimSystem system(clock);
    system.start = {2001, 2, 3, 4, 5, 6};  // older than any backup a person made here
    Win32FileSystem files;
    const std::vector<std::uint8_t> block = {1, 2, 3, 0, 255};

    const std::string path = SaveParameterBackup(files, system, "QMV-240", block);

    EXPECT_EQ(path,
              std::string(localAppData) + "\\Hexwarden\\Backups\\2001-02-03 04-05-06 QMV-240.par");
    auto file = files.Open(path, FileSystem::Access::Read);
    std::vector<std::uint8_t> saved(16);
    saved.resize(file->Read(saved.data(), static_cast<std::uint32_t>(saved.size())));
    file.reset();
    EXPECT_EQ(saved, block);
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

// A profile folder such as C:\Users\Łukasz, or one named 李, is no folder of
// the ANSI code page: the backup still lands in it, not in a look-alike.
TEST(ParameterBackupOnWine, LandsInAProfileFolderOutsideTheCodePage) {
    const std::string profile = PathOutsideCodePage("hw-profile");
    TestClock clock;
    SimSystem system(clock);
    system.start = {2001, 2, 3, 4, 5, 6};
    Win32FileSystem files;
    files.CreateFolder(profile);  // as the user's own profile folder stands
    std::string path;
    {
        // The user's local application-data folder, as the user shell folders name it.
        const std::wstring folder = Widen(profile);
        const UserRegistryValue redirected(
            L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
            L"Local AppData", REG_EXPAND_SZ, folder.c_str(),
            static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
        path = SaveParameterBackup(files, system, "QMV-240", std::vector<std::uint8_t>{7, 8});
    }
    EXPECT_EQ(path, profile + "\\Hexwarden\\Backups\\2001-02-03 04-05-06 QMV-240.par");
    EXPECT_TRUE(files.Exists(path));
    files.Remove(path);
    for (const std::string& folder :
         {profile + "\\Hexwarden\\Backups", profile + "\\Hexwarden", profile}) {
        RemoveDirectoryW(Widen(folder).c_str());
    }
}

}  // namespace
}  // namespace hw
