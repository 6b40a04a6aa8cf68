// One row of the rotary axis backlash table, in degrees.
#pragma once

namespace hw {

struct BacklashEntry {
    double angle = 0;
    double plusBacklash = 0;
    double minusBacklash = 0;
};

inline constexpr int kBacklashSteps = 40;

// The largest single measurement of a run, as the console shows it: the
// angle of its step and its signed backlash, in degrees.
struct BacklashMark {
    double angle = 0;
    double backlash = 0;
};

}  // namespace hw
