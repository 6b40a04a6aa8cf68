// Reading numbers from the calibration edits.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "console/calibration/CalibrationMath.h"

namespace hw {
namespace {

TEST(CalibrationMath, ReadDecimalTakesTheLeadingNumber) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        std::string text;
        double value;
    };
    const Case cases[] = {
        {"100", 100.0},      {" \t+100.123mm", 100.123},
        {"-1.5e2x", -150.0}, {"2.5E+1", 25.0},
        {"1e", 1.0},         {"1e+", 1.0},
        {".5", 0.5},         {"5.", 5.0},
        {".", 0.0},          {"", 0.0},
        {"abc", 0.0},        {"- 5", 0.0},
        {"inf", 0.0},        {"0x10", 0.0},
        {"1,5", 1.0},        {"1e999", inf},
        {"-1e999", -inf},    {"1e-999", 0.0},
        {"23010", 23010.0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadDecimal(c.text), c.value) << c.text;
    }
}

TEST(CalibrationMath, ReadIntegerTakesTheLeadingDigits) {
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    struct Case {
        std::string text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"  -42x", -42},
        {"+7", 7},
        {"12.9", 12},
        {"", 0},
        {"x1", 0},
        {"-", 0},
        {"1e3", 1},
        {"2147483647", kMax},
        {"-2147483648", kMin},
        {"4294967301", kMax},
        {"-99999999999", kMin},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadInteger(c.text), c.value) << c.text;
    }
}

}  // namespace
}  // namespace hw
