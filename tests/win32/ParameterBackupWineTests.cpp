// The automatic parameter block backup on the real OS (Wine on the build
// machine): it lands in the user's own local application-data folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimClock.h"
#include "SimSystem.h"
#include "console/ParameterBackups.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Utf8.h"

namespace hw {
namespace {

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

// The user's local application-data folder named elsewhere, through the
// user shell folders of the registry, for the object's life.
class LocalAppDataAt {
  public:
    explicit LocalAppDataAt(const std::wstring& folder) {
        RegCreateKeyExW(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr);
        DWORD size = sizeof previous;
        hadPrevious = RegQueryValueExW(key, kValue, nullptr, &previousType,
                                       reinterpret_cast<BYTE*>(previous), &size) == ERROR_SUCCESS;
        Set(REG_EXPAND_SZ, folder.c_str());
    }
    ~LocalAppDataAt() {
        if (hadPrevious) {
            Set(previousType, previous);
        } else {
            RegDeleteValueW(key, kValue);
        }
        RegCloseKey(key);
    }
    LocalAppDataAt(const LocalAppDataAt&) = delete;
    LocalAppDataAt& operator=(const LocalAppDataAt&) = delete;

  private:
    static constexpr const wchar_t* kShellFolders =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    static constexpr const wchar_t* kValue = L"Local AppData";

    void Set(DWORD type, const wchar_t* text) {
        RegSetValueExW(key, kValue, 0, type, reinterpret_cast<const BYTE*>(text),
                       static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
    }

    HKEY key = nullptr;
    wchar_t previous[MAX_PATH] = {};
    DWORD previousType = REG_EXPAND_SZ;
    bool hadPrevious = false;
};

// A profile folder such as C:\Users\Łukasz, or one named 李, is no folder of
// the ANSI code page: the backup still lands in it, not in a look-alike.
TEST(ParameterBackupOnWine, LandsInAProfileFolderOutsideTheCodePage) {
    wchar_t temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::string profile = Narrow(temp) + "hw-profile-" +
                                std::to_string(GetCurrentProcessId()) +
                                "-\xC5\x81ukasz\\\xE6\x9D\x8E";
    TestClock clock;
    SimSystem system(clock);
    system.start = {2001, 2, 3, 4, 5, 6};
    Win32FileSystem files;
    files.CreateFolder(profile);  // as the user's own profile folder stands
    std::string path;
    {
        const LocalAppDataAt redirected(Widen(profile));
        path = SaveParameterBackup(files, system, "QMV-240", std::vector<std::uint8_t>{7, 8});
    }
    EXPECT_EQ(path, profile + "\\Hexwarden\\Backups\\2001-02-03 04-05-06 QMV-240.par");
    EXPECT_TRUE(files.Exists(path));
    files.Remove(path);
    for (const std::string& folder : {profile + "\\Hexwarden\\Backups", profile + "\\Hexwarden",
                                      profile, PathBeside(profile, "")}) {
        RemoveDirectoryW(Widen(folder).c_str());
    }
}

}  // namespace
}  // namespace hw
