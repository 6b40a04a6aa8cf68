// One INI file and the sections read from it, with what the system's section
// read gives for each: the table both settings-file backends are held to.
#pragma once

#include <cstddef>
#include <string>

namespace hw::test {

inline const std::string kSettingsText =
    "; the console's settings\r\n"
    "[Other]\r\n"
    "Key=other\r\n"
    "\r\n"
    "[TestData]\r\n"
    "  ; a comment inside the section\r\n"
    "Data = ;;^PU0,0;^PD100,0;  \r\n"
    "\r\n"
    "Second=a=b\r\n"
    "NoEquals\r\n"
    "  Spaced Key  =  spaced value  \r\n"
    "[Short]\r\n"
    "a=1\r\n"
    "[Empty]\r\n"
    "; only a comment\r\n"
    "[testdata]\r\n"
    "Late=from the second section of that name\r\n";

struct SettingsCase {
    const char* what;
    const char* section;
    std::size_t capacity;
    std::string expected;
};

using namespace std::string_literals;

inline const std::string kWholeTestData =
    "Data=;;^PU0,0;^PD100,0;\0Second=a=b\0NoEquals\0Spaced Key=spaced value\0"s;

inline const SettingsCase kSettingsCases[] = {
    {"whole section, first of its name", "TestData", 32767, kWholeTestData},
    {"name in another case", "TESTDATA", 32767, kWholeTestData},
    {"missing section", "Absent", 32767, ""},
    {"section of comments only", "Empty", 32767, ""},
    {"cut inside the first value", "TestData", 10, "Data=;;^"},
    {"cut after the first entry", "TestData", 26, "Data=;;^PU0,0;^PD100,0;\0"s},
    {"exact fit", "Short", 6, "a=1\0"s},
    {"one short of fitting", "Short", 5, "a=1"},
};

}  // namespace hw::test
