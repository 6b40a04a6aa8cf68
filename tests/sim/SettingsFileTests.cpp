// The simulated settings files read as the system reads INI sections.
#include <gtest/gtest.h>

#include "SettingsFileCases.h"
#include "sim/pc/SimSettingsFile.h"

namespace hw::test {
namespace {

TEST(SimSettingsFileTest, ReadsSectionsAsTheSystemDoes) {
    SimSettingsFile settings;
    settings.Put("C:\\Hexwarden\\Hexwarden.INI", kSettingsText);
    for (const SettingsCase& c : kSettingsCases) {
        EXPECT_EQ(settings.ReadSection("C:\\Hexwarden\\Hexwarden.INI", c.section, c.capacity),
                  c.expected)
            << c.what;
    }
    EXPECT_EQ(settings.ReadSection("C:\\Hexwarden\\Missing.INI", "TestData", 32767), "");
}

}  // namespace
}  // namespace hw::test
