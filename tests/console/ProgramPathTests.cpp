#include <gtest/gtest.h>

#include "console/ProgramPath.h"

namespace hw {
namespace {

TEST(ProgramPath, NameAndSettingsFileFollowTheProgramFile) {
    struct Case {
        const char* path;
        const char* name;
        const char* settings;
    };
    for (const Case& c : {
             Case{"C:\\Tools\\Hexwarden.exe", "Hexwarden", "C:\\Tools\\Hexwarden.INI"},
             Case{"C:\\A.B\\svc.old.exe", "svc", "C:\\A.B\\svc.INI"},
             Case{"C:\\Tools\\Hexwarden", "Hexwarden", "C:\\Tools\\Hexwarden.INI"},
             Case{"C:\\A.B\\NoDot", "NoDot", "C:\\A.B\\NoDot.INI"},
             Case{"\\\\server\\share\\.hidden", "", "\\\\server\\share\\.INI"},
             Case{"C:\\Tools\\", "", "C:\\Tools\\.INI"},
         }) {
        const auto paths = SplitProgramPath(c.path);
        ASSERT_TRUE(paths.has_value()) << c.path;
        EXPECT_EQ(paths->programName, c.name) << c.path;
        EXPECT_EQ(paths->settingsPath, c.settings) << c.path;
    }
}

TEST(ProgramPath, APathWithoutBackslashGivesNothing) {
    EXPECT_FALSE(SplitProgramPath("Hexwarden.exe").has_value());
    EXPECT_FALSE(SplitProgramPath("").has_value());
    EXPECT_FALSE(SplitProgramPath("C:/Tools/Hexwarden.exe").has_value());
}

}  // namespace
}  // namespace hw
