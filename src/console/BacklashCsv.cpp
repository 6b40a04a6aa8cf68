#include "console/BacklashCsv.h"

#include <charconv>

namespace hw {

namespace {

// std::to_chars never consults the locale, so the separator stays a dot.
void AppendNumber(std::string& text, double value) {
    char digits[64];
    const auto written =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 3);
    text.append(digits, written.ptr);
}

}  // namespace

std::string BacklashCsvText(std::span<const BacklashEntry> rows) {
    std::string text = "angle_deg,plus_deg,minus_deg\r\n";
    for (const BacklashEntry& row : rows) {
        AppendNumber(text, row.angle);
        text += ',';
        AppendNumber(text, row.plusBacklash);
        text += ',';
        AppendNumber(text, row.minusBacklash);
        text += "\r\n";
    }
    return text;
}

}  // namespace hw
