// The Windows version as the program reads it, in a Wine prefix that plays
// Windows 10. A program whose manifest does not name Windows 10 among its
// supported systems is told 6.2 build 9200 (Windows 8) there, as on Windows.
#include <gtest/gtest.h>

#include "platform/win32/Win32System.h"

namespace hw {
namespace {

TEST(OsVersion, TheManifestedProgramReadsTheTrueVersion) {
    Win32System system;
    OsVersion version;
    ASSERT_TRUE(system.QueryOsVersion(version));
    EXPECT_EQ(version.platformId, kPlatformWin32Nt);
    EXPECT_EQ(version.major, 10u);
    EXPECT_EQ(version.minor, 0u);
    EXPECT_GE(version.build, 10240u);
}

}  // namespace
}  // namespace hw
