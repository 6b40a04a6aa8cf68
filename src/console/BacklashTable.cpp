#include "console/BacklashTable.h"

#include <cstdio>

namespace hw {

std::string BacklashTableText(std::span<const BacklashEntry> rows) {
    std::string text = "Angle[deg] : Backlash[deg]\r\n";
    for (const BacklashEntry& row : rows) {
        char line[128];
        std::snprintf(line, sizeof line, "%.1f : %.3f  %.3f\r\n", row.angle, row.plusBacklash,
                      row.minusBacklash);
        text += line;
    }
    return text;
}

}  // namespace hw
