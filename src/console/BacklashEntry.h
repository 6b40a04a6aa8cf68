// One row of the rotary axis backlash table, in degrees.
#pragma once

namespace hw {

struct BacklashEntry {
    double angle = 0;
    double plusBacklash = 0;
    double minusBacklash = 0;
};

inline constexpr int kBacklashSteps = 40;

}  // namespace hw
