#include "console/calibration/FixedDecimal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace hw {

namespace {

constexpr std::uint64_t kPowersOfTen[kMaxFixedDecimals + 1] = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};
// From here on every double is a whole number.
constexpr double kWholeFrom = 9007199254740992.0;  // 2^53

void AppendDigits(std::string& text, std::uint64_t number, int width) {
    char digits[24];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number != 0 || count < width);
    while (count > 0) text += digits[--count];
}

// A whole number of 2^53 or more, exactly: its 53-bit mantissa doubled as
// often as its exponent says, in base-10^9 limbs.
void AppendLargeWhole(std::string& text, double whole) {
    int exponent = 0;
    const double mantissa = std::frexp(whole, &exponent);
    constexpr int kMantissaBits = 53;
    auto bits = static_cast<std::uint64_t>(std::ldexp(mantissa, kMantissaBits));
    constexpr std::uint32_t kLimb = 1000000000;
    std::vector<std::uint32_t> limbs;  // least significant first
    for (; bits != 0; bits /= kLimb) limbs.push_back(static_cast<std::uint32_t>(bits % kLimb));
    for (int shift = exponent - kMantissaBits; shift > 0; --shift) {
        std::uint32_t carry = 0;
        for (std::uint32_t& limb : limbs) {
            const std::uint64_t doubled = std::uint64_t{limb} * 2 + carry;
            limb = static_cast<std::uint32_t>(doubled % kLimb);
            carry = static_cast<std::uint32_t>(doubled / kLimb);
        }
        if (carry != 0) limbs.push_back(carry);
    }
    AppendDigits(text, limbs.back(), 1);
    for (auto limb = limbs.rbegin() + 1; limb != limbs.rend(); ++limb) AppendDigits(text, *limb, 9);
}

// The fraction 0 <= fraction < 1 in units of 10^-decimals, rounded to
// nearest with ties to even; the last digit written is the whole part's when
// there are no decimals. fma gives the product's rounding error exactly, so
// that a product that only looks like a tie is rounded the way its exact
// value says.
std::uint64_t ScaledFraction(double fraction, std::uint64_t scale, bool wholeOdd) {
    const auto factor = static_cast<double>(scale);
    const double product = fraction * factor;
    const double error = std::fma(fraction, factor, -product);
    const double below = std::floor(product);
    auto units = static_cast<std::uint64_t>(below);
    const double rest = product - below;
    const bool odd = scale == 1 ? wholeOdd : units % 2 == 1;
    const bool up = rest > 0.5 || (rest == 0.5 && (error > 0 || (error == 0 && odd)));
    return up ? units + 1 : units;
}

}  // namespace

void AppendFixed(std::string& text, double value, int decimals) {
    decimals = std::clamp(decimals, 0, kMaxFixedDecimals);
    if (std::signbit(value)) text += '-';
    const double magnitude = std::fabs(value);
    if (std::isnan(value)) {
        text += "nan";
        return;
    }
    if (std::isinf(value)) {
        text += "inf";
        return;
    }
    const std::uint64_t scale = kPowersOfTen[decimals];
    std::uint64_t fraction = 0;
    if (magnitude >= kWholeFrom) {
        AppendLargeWhole(text, magnitude);
    } else {
        const double whole = std::floor(magnitude);
        auto wholeUnits = static_cast<std::uint64_t>(whole);
        fraction = ScaledFraction(magnitude - whole, scale, wholeUnits % 2 == 1);
        if (fraction == scale) {
            ++wholeUnits;
            fraction = 0;
        }
        AppendDigits(text, wholeUnits, 1);
    }
    if (decimals == 0) return;
    text += '.';
    AppendDigits(text, fraction, decimals);
}

std::string FixedText(double value, int decimals) {
    std::string text;
    AppendFixed(text, value, decimals);
    return text;
}

}  // namespace hw
