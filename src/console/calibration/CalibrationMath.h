// The arithmetic of the correction calibration, free of any window: reading
// numbers from the edits, turning a typed scale into thousandths of a
// percent, the accepted ranges and the test-cut data taken from the settings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace hw {

// Scale corrections in thousandths of a percent (100000 = 100.000 %).
inline constexpr std::int32_t kScaleBase = 100000;
inline constexpr std::int32_t kScaleLowest = 99500;
inline constexpr std::int32_t kScaleHighest = 100500;
// Nominal sides of the test figure, 1/100 mm.
inline constexpr std::int32_t kNominalX = 23000;
inline constexpr std::int32_t kNominalY = 19000;
// Laser and Y0 offsets, 1/100 mm: accepted within ±10.00 mm.
inline constexpr std::int64_t kOffsetLimit = 1000;
// The test-cut data: at most this many bytes, sent in pieces of kCutPiece.
inline constexpr std::size_t kTestDataCapacity = 32767;
inline constexpr std::size_t kCutPiece = 1024;

// The test figure the machine cuts when the settings give none: a rectangle
// of the two nominal sides.
inline constexpr std::string_view kDefaultTestData =
    ";;^IN;!MC0;^PA;^PU;^VS20;!VZ8;!MC1;!PZ0,3000;^PU0,0;!PZ-3,50;^PU;^PU0,0;"
    "^PD0,19000;^PD23000,19000;^PD23000,0;^PD0,0;^PU;!MC0;!PZ0,3000;^PU;";

// A decimal number as a scale edit holds it: leading white space, a sign,
// digits with a decimal point, an exponent; reading stops at the first
// character that does not fit; no number reads as 0. Too large a number
// reads as an infinity of its sign, too small a one as 0.
double ReadDecimal(std::string_view text);

// An integer as an offset edit holds it: leading white space, a sign,
// decimal digits; reading stops at the first other character; no digits
// read as 0. A number beyond 32 bits is held at the nearest 32-bit end.
std::int32_t ReadInteger(std::string_view text);

// Whether an edit's text holds its number and nothing else: blank text (it
// reads as 0), or a number as ReadDecimal / ReadInteger takes it with only
// blanks after it. "100,5" is not one: its reading would stop at the comma.
bool IsWholeDecimal(std::string_view text);
bool IsWholeInteger(std::string_view text);

// The scale in thousandths of a percent for an edit's number: the number is
// the scale in percent, or (measured) the length the test cut came out in
// 1/100 mm against its nominal side. Computed in doubles in this order:
// length × (1/nominal) × 100, then × 1000.
double ScaleFromPercent(double percent);
double ScaleFromMeasured(double measured, std::int32_t nominal);
bool ScaleAccepted(double scale);

// value × numerator / denominator in 64 bits, rounded half up, for values
// and a denominator above 0: the measured lengths the scale range allows.
std::int32_t MulDivRounded(std::int32_t value, std::int32_t numerator, std::int32_t denominator);

bool OffsetAccepted(std::int64_t offset);

// The test-cut data from the "TestData" section as read (NUL-separated
// entries): the value after the first "=" of the first entry, up to the end
// of that entry. The default figure when the section is empty or its first
// entry has no "=". At most kTestDataCapacity bytes.
std::string TestDataFromSection(std::string_view section);

}  // namespace hw
