#include "console/calibration/FixedDecimal.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <random>

namespace hw {
namespace {

// printf in the C locale rounds the exact binary value, ties to even: the
// fixed formatter must write the same text for any value it is given.
std::string Printed(double value, int decimals) {
    char text[400];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

TEST(FixedDecimal, WritesWhatPrintfWrites) {
    const double chosen[] = {0,          -0.0,
                             0.0005,     0.0015,
                             0.0025,     2.675,
                             0.125,      0.375,
                             2.5,        3.5,
                             -1.25,      0.9995,
                             9.9999999,  999.9996,
                             207.045,    -12.3456,
                             1e-300,     4503599627370495.5,
                             1e15 + 0.3, 9007199254740991.0,
                             1e20,       -3.0e25,
                             DBL_MAX,    -DBL_MIN};
    for (const double value : chosen)
        for (int decimals = 0; decimals <= kMaxFixedDecimals; ++decimals)
            EXPECT_EQ(FixedText(value, decimals), Printed(value, decimals))
                << value << " to " << decimals;

    // Values as measured, and values of any size and precision.
    std::mt19937_64 random(26);
    std::uniform_real_distribution<double> measured(-400, 400);
    std::uniform_int_distribution<int> exponent(-30, 30);
    for (int i = 0; i < 20000; ++i) {
        const double value =
            i % 2 == 0 ? measured(random) : std::ldexp(measured(random), exponent(random));
        const int decimals = i % (kMaxFixedDecimals + 1);
        ASSERT_EQ(FixedText(value, decimals), Printed(value, decimals)) << value;
    }
}

TEST(FixedDecimal, ValuesThatAreNotNumbers) {
    EXPECT_EQ(FixedText(INFINITY, 3), "inf");
    EXPECT_EQ(FixedText(-INFINITY, 1), "-inf");
    EXPECT_EQ(FixedText(NAN, 3), "nan");
}

}  // namespace
}  // namespace hw
