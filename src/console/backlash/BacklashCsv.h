// The backlash table as comma-separated values, for spreadsheets: a heading
// line and one line per row, the same text wherever it is written.
#pragma once

#include <span>
#include <string>

#include "console/backlash/BacklashEntry.h"

namespace hw {

// "angle_deg,plus_deg,minus_deg", then "angle,plus,minus" per row, each
// number with three decimals and a dot whatever the user's locale, each line
// ended by CR LF.
std::string BacklashCsvText(std::span<const BacklashEntry> rows);

}  // namespace hw
