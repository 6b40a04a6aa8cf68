// Numbers with a fixed count of decimals (degrees, amperes) as the console
// writes them on screen and in files: digits, a dot, never a thousands
// separator, whatever the user's locale. Integer arithmetic only, so that the
// program carries no general floating-point formatter.
#pragma once

#include <string>

namespace hw {

// The largest count of decimals written.
inline constexpr int kMaxFixedDecimals = 9;

// Appends value rounded to decimals places (0 to kMaxFixedDecimals), as
// printf's "%.Nf" does in the C locale: the exact value rounded to nearest,
// ties to even; a minus sign whenever the value's sign is negative ("-0.000");
// "nan", "inf" and "-inf" for values that are not finite.
void AppendFixed(std::string& text, double value, int decimals);
std::string FixedText(double value, int decimals);

}  // namespace hw
