// INI sections read with the real section read (Wine on the build machine),
// held to the same table as the simulated settings files.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "WideTestPlaces.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32SettingsFile.h"
#include "platform/win32/Win32Utf8.h"
#include "sim/SettingsFileCases.h"

namespace hw::test {
namespace {

// The file lies in a folder whose name no ANSI code page holds ("Łukasz",
// "李").
TEST(Win32SettingsFileTest, ReadsSectionsAsTheTableSays) {
    const std::string folder = PathOutsideCodePage("hw-settings");
    const std::string path = folder + "\\Hexwarden.INI";
    Win32FileSystem files;
    files.CreateFolder(folder);
    files.Open(path, FileSystem::Access::CreateWrite)
        ->Write(kSettingsText.data(), static_cast<std::uint32_t>(kSettingsText.size()));

    Win32SettingsFile settings;
    for (const SettingsCase& c : kSettingsCases) {
        EXPECT_EQ(settings.ReadSection(path, c.section, c.capacity), c.expected) << c.what;
    }
    EXPECT_EQ(settings.ReadSection(folder + "\\hw-no-such.INI", "TestData", 32767), "");
    files.Remove(path);
    RemoveDirectoryW(Widen(folder).c_str());
}

}  // namespace
}  // namespace hw::test
