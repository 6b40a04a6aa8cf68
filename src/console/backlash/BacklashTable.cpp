#include "console/backlash/BacklashTable.h"

#include "console/calibration/FixedDecimal.h"

namespace hw {

std::string BacklashTableText(std::span<const BacklashEntry> rows) {
    std::string text = "Angle[deg] : Backlash[deg]\r\n";
    for (const BacklashEntry& row : rows) {
        AppendFixed(text, row.angle, 1);
        text += " : ";
        AppendFixed(text, row.plusBacklash, 3);
        text += "  ";
        AppendFixed(text, row.minusBacklash, 3);
        text += "\r\n";
    }
    return text;
}

}  // namespace hw
