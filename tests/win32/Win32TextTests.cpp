// The text rules on Win32, run with Wine set to the
// Japanese code page 932 (ctest gives this binary LC_ALL=ja_JP.UTF-8).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/Win32Text.h"

namespace hw {
namespace {

class Win32TextTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(GetACP(), 932u) << "run with LC_ALL=ja_JP.UTF-8"; }

    Win32Text text;
};

TEST_F(Win32TextTest, LeadBytesAreThoseOfTheCodePage) {
    for (int byte = 0; byte < 0x100; ++byte) {
        const bool lead = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
        EXPECT_EQ(text.IsLeadByte(static_cast<std::uint8_t>(byte)), lead) << std::hex << byte;
    }
}

TEST_F(Win32TextTest, ComparesCharactersIgnoringCase) {
    struct Case {
        std::string a;
        std::string b;
        bool equal;
    };
    for (const Case& c : {
             Case{"Varnel QMV-240", "VARNEL qmv-240", true},
             Case{"Varnel QMV-240", "Varnel QMV-2400", false},
             Case{"QMV \x82\x60", "qmv \x82\x81", true},   // full-width A and a
             Case{"QMV \x83\x41", "QMV \x83\x61", false},  // trail bytes 'A' and 'a'
             Case{"\x95\x5C"
                  "abc",
                  "\x95\x5C"
                  "ABC",
                  true},  // after a double-byte character
             Case{"", "", true},
             // UTF-8 text: an L with stroke, which the code page lacks, and a kanji
             Case{"\xC5\x81ukasz \xE6\x9D\x8E", "\xC5\x82UKASZ \xE6\x9D\x8E", true},
         }) {
        EXPECT_EQ(text.EqualsIgnoreCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
    }
}

}  // namespace
}  // namespace hw
