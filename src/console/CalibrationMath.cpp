#include "console/CalibrationMath.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace hw {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Skips leading white space and takes an optional sign; true when negative.
bool TakeSign(std::string_view& text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    if (text.empty() || (text.front() != '+' && text.front() != '-')) return false;
    const bool negative = text.front() == '-';
    text.remove_prefix(1);
    return negative;
}

std::size_t CountDigits(std::string_view text, std::size_t from) {
    std::size_t end = from;
    while (end < text.size() && IsDigit(text[end])) ++end;
    return end - from;
}

// The length of the unsigned decimal number text begins with (0: none), and
// whether its exponent is negative.
std::size_t DecimalLength(std::string_view text, bool& negativeExponent) {
    const std::size_t whole = CountDigits(text, 0);
    std::size_t length = whole;
    std::size_t fraction = 0;
    if (length < text.size() && text[length] == '.') {
        fraction = CountDigits(text, length + 1);
        if (whole + fraction > 0) length += 1 + fraction;
    }
    if (whole + fraction == 0) return 0;
    negativeExponent = false;
    if (length < text.size() && (text[length] == 'e' || text[length] == 'E')) {
        std::size_t at = length + 1;
        const bool sign = at < text.size() && (text[at] == '+' || text[at] == '-');
        const std::size_t digits = CountDigits(text, at + (sign ? 1 : 0));
        if (digits > 0) {
            negativeExponent = sign && text[at] == '-';
            length = at + (sign ? 1 : 0) + digits;
        }
    }
    return length;
}

}  // namespace

double ReadDecimal(std::string_view text) {
    const bool negative = TakeSign(text);
    bool negativeExponent = false;
    const std::size_t length = DecimalLength(text, negativeExponent);
    if (length == 0) return 0.0;
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + length, value);
    if (result.ec == std::errc::result_out_of_range) {
        value = negativeExponent ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

std::int32_t ReadInteger(std::string_view text) {
    const bool negative = TakeSign(text);
    // Held in 64 bits and stopped at the 32-bit ends, so that no long digit
    // string wraps round into the accepted range.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (char c : text) {
        if (!IsDigit(c)) break;
        magnitude = std::min(magnitude * 10 + (c - '0'), kLimit);
    }
    const std::int64_t value = negative ? -magnitude : std::min(magnitude, kLimit - 1);
    return static_cast<std::int32_t>(value);
}

double ScaleFromPercent(double percent) {
    return percent * 1000.0;
}

double ScaleFromMeasured(double measured, std::int32_t nominal) {
    const double percent = measured * (1.0 / static_cast<double>(nominal)) * 100.0;
    return ScaleFromPercent(percent);
}

bool ScaleAccepted(double scale) {
    return scale >= kScaleLowest && scale <= kScaleHighest;
}

std::int32_t MulDiv(std::int32_t value, std::int32_t numerator, std::int32_t denominator) {
    const std::int64_t product = std::int64_t{value} * numerator;
    const std::int64_t half = std::abs(std::int64_t{denominator}) / 2;
    const bool negative = (product < 0) != (denominator < 0);
    const std::int64_t magnitude = (std::abs(product) + half) / std::abs(std::int64_t{denominator});
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

bool OffsetAccepted(std::int64_t offset) {
    return offset >= -kOffsetLimit && offset <= kOffsetLimit;
}

std::string TestDataFromSection(std::string_view section) {
    const std::string_view entry = section.substr(0, section.find('\0'));
    const std::size_t equals = entry.find('=');
    const std::string_view data = section.empty() || equals == std::string_view::npos
                                      ? kDefaultTestData
                                      : entry.substr(equals + 1);
    return std::string(data.substr(0, kTestDataCapacity));
}

}  // namespace hw
