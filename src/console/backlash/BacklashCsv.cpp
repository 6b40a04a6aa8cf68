#include "console/backlash/BacklashCsv.h"

#include "console/calibration/FixedDecimal.h"

namespace hw {

namespace {

constexpr int kDecimals = 3;

void AppendNumber(std::string& text, double value) {
    AppendFixed(text, value, kDecimals);
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
