#include <gtest/gtest.h>

#include "console/ProgramPath.h"

namespace hw {
namespace {

// "李" and "Ł" in UTF-8; the bytes of 李 would hold a '\' as a trail byte if
// they were read in code page 932.
#define LI "\xE6\x9D\x8E"
#define L_STROKE "\xC5\x81"

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
             Case{"C:\\Users\\" L_STROKE "ukasz\\" LI "\\Hexwarden.exe", "Hexwarden",
                  "C:\\Users\\" L_STROKE "ukasz\\" LI "\\Hexwarden.INI"},
             Case{"C:\\" LI ".d\\" LI ".exe", LI, "C:\\" LI ".d\\" LI ".INI"},
         }) {
        const auto paths = SplitProgramPath(c.path);
        ASSERT_TRUE(paths.has_value()) << c.path;
        EXPECT_EQ(paths->programName, c.name) << c.path;
        EXPECT_EQ(paths->settingsPath, c.settings) << c.path;
    }
}

TEST(ProgramPath, APathWithoutBackslashGivesNothing) {
    for (const char* path : {"Hexwarden.exe", "", "C:/Tools/Hexwarden.exe", "C:" LI ".exe"}) {
        EXPECT_FALSE(SplitProgramPath(path).has_value()) << path;
    }
}

#undef LI
#undef L_STROKE

}  // namespace
}  // namespace hw
