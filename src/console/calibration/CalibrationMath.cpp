#include "console/calibration/CalibrationMath.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

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

bool AllBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsBlank);
}

// A number as the reader takes it from the front of text, and what follows it.
template <class T>
struct Reading {
    T value = 0;
    std::string_view rest;
    bool hasNumber = false;
};

// The length of the decimal number at the front of text: digits with at most
// one point among them, then an exponent when a whole one follows.
std::size_t DecimalLength(std::string_view text) {
    const auto digitsFrom = [&text](std::size_t at) {
        while (at < text.size() && IsDigit(text[at])) ++at;
        return at;
    };
    std::size_t end = digitsFrom(0);
    std::size_t digits = end;
    if (end < text.size() && text[end] == '.') {
        const std::size_t fraction = digitsFrom(end + 1);
        digits += fraction - end - 1;
        end = fraction;
    }
    if (digits == 0) return 0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
        const std::size_t exponentEnd = digitsFrom(exponent);
        if (exponentEnd > exponent) end = exponentEnd;
    }
    return end;
}

// The runtime's own correctly rounded conversion, given only the number's
// characters (so no hexadecimal or other forms), with the point written as
// the C library's locale has it: the edits always take a point.
double DecimalValue(std::string_view number) {
    std::string text(number);
    std::replace(text.begin(), text.end(), '.', *std::localeconv()->decimal_point);
    errno = 0;
    const double value = std::strtod(text.c_str(), nullptr);
    // Too small to hold reads as 0; too large stays infinite.
    if (errno == ERANGE && std::fabs(value) < 1.0) return 0.0;
    return value;
}

Reading<double> ParseDecimal(std::string_view text) {
    const bool negative = TakeSign(text);
    // Only digits or a decimal point start a number: no second sign, no
    // "inf" or "nan".
    const std::size_t length = DecimalLength(text);
    if (length == 0) return {0.0, text};
    const double value = DecimalValue(text.substr(0, length));
    return {negative ? -value : value, text.substr(length), true};
}

Reading<std::int32_t> ParseInteger(std::string_view text) {
    const bool negative = TakeSign(text);
    // Held in 64 bits and stopped at the 32-bit ends, so that no long digit
    // string wraps round into the accepted range.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    std::size_t digits = 0;
    for (; digits < text.size() && IsDigit(text[digits]); ++digits) {
        magnitude = std::min(magnitude * 10 + (text[digits] - '0'), kLimit);
    }
    const std::int64_t value = negative ? -magnitude : std::min(magnitude, kLimit - 1);
    return {static_cast<std::int32_t>(value), text.substr(digits), digits > 0};
}

// Blank text (it reads as 0), or a number with nothing but blanks after it.
template <class T>
bool IsWholeNumber(std::string_view text, const Reading<T>& reading) {
    return reading.hasNumber ? AllBlank(reading.rest) : AllBlank(text);
}

}  // namespace

double ReadDecimal(std::string_view text) {
    return ParseDecimal(text).value;
}

std::int32_t ReadInteger(std::string_view text) {
    return ParseInteger(text).value;
}

bool IsWholeDecimal(std::string_view text) {
    return IsWholeNumber(text, ParseDecimal(text));
}

bool IsWholeInteger(std::string_view text) {
    return IsWholeNumber(text, ParseInteger(text));
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

std::int32_t MulDivRounded(std::int32_t value, std::int32_t numerator, std::int32_t denominator) {
    const std::int64_t product = std::int64_t{value} * numerator;
    return static_cast<std::int32_t>((product + denominator / 2) / denominator);
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
