// INI sections read with the real section read (Wine on the build machine),
// held to the same table as the simulated settings files.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/win32/Win32SettingsFile.h"
#include "sim/SettingsFileCases.h"

namespace hw::test {
namespace {

TEST(Win32SettingsFileTest, ReadsSectionsAsTheTableSays) {
    char temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
    const std::string path =
        std::string(temp) + "hw-settings-" + std::to_string(GetCurrentProcessId()) + ".INI";
    std::ofstream(path, std::ios::binary) << kSettingsText;

    Win32SettingsFile settings;
    for (const SettingsCase& c : kSettingsCases) {
        EXPECT_EQ(settings.ReadSection(path, c.section, c.capacity), c.expected) << c.what;
    }
    EXPECT_EQ(settings.ReadSection(std::string(temp) + "hw-no-such.INI", "TestData", 32767), "");
    DeleteFileA(path.c_str());
}

}  // namespace
}  // namespace hw::test
