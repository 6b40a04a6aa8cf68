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

}  // namespace
}  // namespace hw
