#include <gtest/gtest.h>

#include "SimText.h"
#include "console/ProgramPath.h"

namespace hw {
namespace {

using CodePage = SimText::CodePage;

// "表" in code page 932: lead byte 0x95, trail byte 0x5C (the value of '\').
#define HYO "\x95\x5C"

TEST(ProgramPath, NameAndSettingsFileFollowTheProgramFile) {
    struct Case {
        CodePage codePage;
        const char* path;
        const char* name;
        const char* settings;
    };
    for (const Case& c : {
             Case{CodePage::SingleByte, "C:\\Tools\\Hexwarden.exe", "Hexwarden",
                  "C:\\Tools\\Hexwarden.INI"},
             Case{CodePage::SingleByte, "C:\\A.B\\svc.old.exe", "svc", "C:\\A.B\\svc.INI"},
             Case{CodePage::SingleByte, "C:\\Tools\\Hexwarden", "Hexwarden",
                  "C:\\Tools\\Hexwarden.INI"},
             Case{CodePage::SingleByte, "C:\\A.B\\NoDot", "NoDot", "C:\\A.B\\NoDot.INI"},
             Case{CodePage::SingleByte, "\\\\server\\share\\.hidden", "",
                  "\\\\server\\share\\.INI"},
             Case{CodePage::SingleByte, "C:\\Tools\\", "", "C:\\Tools\\.INI"},
             // In a single-byte code page 0x5C is a separator wherever it stands.
             Case{CodePage::SingleByte, "C:\\Tools\\" HYO ".exe", "", "C:\\Tools\\" HYO ".INI"},
             // In code page 932 it is a trail byte after a lead byte.
             Case{CodePage::Japanese932, "C:\\Tools\\" HYO ".exe", HYO, "C:\\Tools\\" HYO ".INI"},
             Case{CodePage::Japanese932, "C:\\" HYO "\\Hexwarden.exe", "Hexwarden",
                  "C:\\" HYO "\\Hexwarden.INI"},
             Case{CodePage::Japanese932, "C:\\" HYO "\\" HYO, HYO, "C:\\" HYO "\\" HYO ".INI"},
             Case{CodePage::Japanese932, "C:\\" HYO ".d\\svc.exe", "svc", "C:\\" HYO ".d\\svc.INI"},
             Case{CodePage::Japanese932, "C:\\Tools\\ab\x95", "ab\x95", "C:\\Tools\\ab\x95.INI"},
         }) {
        SimText text(c.codePage);
        const auto paths = SplitProgramPath(c.path, text);
        ASSERT_TRUE(paths.has_value()) << c.path;
        EXPECT_EQ(paths->programName, c.name) << c.path;
        EXPECT_EQ(paths->settingsPath, c.settings) << c.path;
    }
}

TEST(ProgramPath, APathWithoutBackslashGivesNothing) {
    SimText text(CodePage::Japanese932);
    for (const char* path : {"Hexwarden.exe", "", "C:/Tools/Hexwarden.exe", "C:" HYO ".exe"}) {
        EXPECT_FALSE(SplitProgramPath(path, text).has_value()) << path;
    }
}

#undef HYO

}  // namespace
}  // namespace hw
