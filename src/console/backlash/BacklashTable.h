// The backlash table as the technician reads and saves it: a heading line,
// then one line per row with the angle and both directions' backlash.
#pragma once

#include <span>
#include <string>

#include "console/backlash/BacklashEntry.h"

namespace hw {

// "Angle[deg] : Backlash[deg]" and one "%.1f : %.3f  %.3f" line per row,
// each ended by CR LF.
std::string BacklashTableText(std::span<const BacklashEntry> rows);

}  // namespace hw
