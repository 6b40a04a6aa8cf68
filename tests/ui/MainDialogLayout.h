// The main console's dialog template as the console's layout fixes it: the
// 63 controls in template order. Shared by the native test of the resource
// script and the Wine test of the real window.
#pragma once

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <optional>
#include <string_view>

namespace hw::test {

enum class Kind { DefaultButton, Button, MultiLineButton, GroupBox, Edit, Static, Radio };

struct LayoutRow {
    int id;
    Kind kind;
    std::string_view caption;
    int x, y, width, height;
    bool visible = true;
};

inline constexpr int kMainDialogWidth = 384;
inline constexpr int kMainDialogHeight = 288;

inline constexpr std::array<LayoutRow, 63> kMainDialogLayout{{
    {1, Kind::DefaultButton, "&Close", 327, 7, 50, 18},
    {1000, Kind::GroupBox, "Correction", 7, 92, 273, 114},
    {1001, Kind::GroupBox, "Sensor", 283, 34, 94, 73},
    {1002, Kind::GroupBox, "After Returning To Origin", 7, 210, 170, 62},
    {1003, Kind::GroupBox, "Spindle", 283, 117, 61, 74},
    {1004, Kind::GroupBox, "Serial #(7 characters)", 138, 11, 86, 74},
    {1005, Kind::Button, "Get Report", 9, 15, 55, 18},
    {1007, Kind::Button, "Get Parameters", 9, 40, 55, 18},
    {1008, Kind::Button, "Clear S-Motor Time", 67, 40, 66, 18},
    {1009, Kind::Button, "Put Parameters", 9, 65, 55, 18},
    {1010, Kind::Button, "Check Serial Port", 67, 65, 66, 18},
    {1011, Kind::Button, "Write", 146, 28, 50, 18},
    {1012, Kind::Edit, "", 146, 59, 50, 18},
    {1013, Kind::Button, "Write XY", 13, 112, 40, 18},
    {1014, Kind::Button, "Check Load X", 13, 223, 50, 18},
    {1015, Kind::Button, "Corr.Cut", 240, 113, 32, 18},
    {1016, Kind::Button, "Check Load Y", 67, 223, 50, 18},
    {1017, Kind::Button, "Check Load Z", 121, 223, 50, 18},
    {1018, Kind::Button, "Output File", 185, 223, 50, 18},
    {1019, Kind::Button, "Start Aging", 67, 247, 50, 18},
    {1020, Kind::Button, "Read", 289, 134, 50, 18},
    {1021, Kind::Edit, "", 67, 112, 38, 18},
    {1022, Kind::Edit, "", 117, 112, 38, 18},
    {1023, Kind::Edit, "", 197, 248, 38, 18, false},
    {1024, Kind::Static, "X", 58, 112, 8, 10},
    {1025, Kind::Static, "Y", 108, 112, 8, 10},
    {1026, Kind::Static, "Z", 189, 248, 8, 10, false},
    {1027, Kind::Static, "--A", 296, 162, 20, 20},
    {1028, Kind::Static, "--C --F", 319, 162, 22, 20},
    {1029, Kind::Static, "LimitX=", 288, 50, 38, 8},
    {1030, Kind::Static, "LimitY=", 288, 62, 38, 8},
    {1031, Kind::Static, "LimitZ=", 288, 74, 38, 8},
    {1032, Kind::Static, "Cover=", 328, 50, 44, 10},
    {1033, Kind::Static, "Z0Nose=", 328, 62, 44, 10},
    {1052, Kind::GroupBox, "Backlash [A axis]", 283, 209, 80, 64},
    {1053, Kind::Static, "Angle=--deg", 287, 225, 72, 9},
    {1054, Kind::Static, "Backlash=--deg", 287, 237, 72, 11},
    {1067, Kind::Button, "Details", 292, 251, 31, 15},
    {1051, Kind::Button, "Check", 325, 251, 31, 15},
    {1034, Kind::Static, "PumpSW=", 328, 74, 44, 10},
    {1035, Kind::Static, "LimitA=", 288, 86, 38, 8},
    {1036, Kind::Button, "Clear Pump Time", 67, 15, 66, 18},
    {1037, Kind::Button, "WriteY0", 13, 176, 40, 18},
    {1038, Kind::Edit, "", 67, 175, 38, 18},
    {1039, Kind::Static, "Y", 58, 178, 8, 10},
    {1040, Kind::Button, "Write Laser", 13, 144, 40, 18},
    {1041, Kind::Edit, "", 67, 143, 38, 18},
    {1042, Kind::Edit, "", 117, 143, 38, 18},
    {1043, Kind::Static, "X", 58, 143, 8, 10},
    {1044, Kind::Static, "Y", 108, 143, 8, 10},
    {1045, Kind::Button, "Check Load A", 13, 247, 50, 18},
    {1073, Kind::Button, "Check Panel", 328, 86, 44, 14},
    {-1, Kind::Static, "Neutral =\n100.000%", 160, 114, 33, 18},
    {-1, Kind::Static, "Unit =\n1/100mm", 203, 114, 34, 19},
    {-1, Kind::Static, "Unit =\n1/100mm", 111, 175, 34, 19},
    {1046, Kind::Button, "Tool Pos", 194, 142, 32, 18},
    {1055, Kind::Static, "X:--", 197, 163, 34, 9},
    {1047, Kind::MultiLineButton, "Calc && Write Laser", 230, 140, 43, 20},
    {1056, Kind::Static, "Y:--", 234, 163, 34, 9},
    {1048, Kind::Button, "Calc && Write Y0", 150, 176, 54, 18},
    {1006, Kind::Radio, "percent", 160, 102, 41, 10},
    {1049, Kind::Radio, "measured", 203, 102, 46, 10},
    {-1, Kind::Static, "Unit =\n1/100mm", 160, 143, 34, 19},
}};

// The kind of a control from its window class and style; nullopt for a kind
// the console does not use.
inline std::optional<Kind> KindOf(std::string_view className, std::uint32_t style) {
    const auto is = [className](std::string_view name) {
        return std::equal(className.begin(), className.end(), name.begin(), name.end(),
                          [](char a, char b) {
                              return std::tolower(static_cast<unsigned char>(a)) ==
                                     std::tolower(static_cast<unsigned char>(b));
                          });
    };
    if (is("Edit")) return Kind::Edit;
    if (is("Static")) return Kind::Static;
    if (!is("Button")) return std::nullopt;
    constexpr std::uint32_t kMultiLine = 0x2000;
    switch (style & 0xF) {
        case 0x0:
            return (style & kMultiLine) != 0 ? Kind::MultiLineButton : Kind::Button;
        case 0x1:
            return Kind::DefaultButton;
        case 0x7:
            return Kind::GroupBox;
        case 0x9:
            return Kind::Radio;
        default:
            return std::nullopt;
    }
}

}  // namespace hw::test
