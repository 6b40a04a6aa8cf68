// The rotary axis backlash measurement: the record a run fills, the state
// that the check dialog (user-interface thread) and the measuring worker
// share, and the worker itself. The worker steps the A axis through a full
// turn in 40 steps of 9 degrees; at each step it approaches the angle after
// an overshoot to either side and takes the encoder's difference through the
// machine's dial counter.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "commands/MachineLink.h"
#include "console/backlash/BacklashEntry.h"
#include "platform/device/System.h"

namespace hw {

// Degrees per step of the dial counter when it counts the encoder.
inline constexpr double kDegreesPerDialStep = 0.018;

// What a run hands back. Rows are written in step order; filled counts them.
struct BacklashResult {
    bool valid = false;   // the whole run completed
    double angle = 0;     // degrees: where the largest measurement was taken
    double backlash = 0;  // degrees: that measurement, signed
    std::int32_t capacity = kBacklashSteps;
    std::int32_t filled = 0;
    std::array<BacklashEntry, kBacklashSteps> rows{};
};

// True when a measurement of candidate counts replaces the largest so far:
// only a strictly larger magnitude does, so on a tie the earlier one stays.
bool ReplacesLargest(std::int32_t largest, std::int32_t candidate);

// Shared by the dialog and the worker. The dialog's Cancel action sets
// cancelRequested; the worker clears workerRunning as its very last action,
// and the result may be read only once that is seen clear. Kept alive by
// shared ownership until both are done with it, so that a worker still
// finishing its command after Cancel writes into live memory.
struct BacklashRun {
    BacklashRun(MachineLink& link, System& system) : link(link), system(system) {}

    MachineLink& link;
    System& system;
    BacklashResult result;
    std::atomic<bool> cancelRequested{false};
    std::atomic<bool> workerRunning{false};
    // The step being measured, 1 to kBacklashSteps; 0 before the first.
    // Published by the worker for the dialog's tick.
    std::atomic<int> step{0};
};

// The worker thread's procedure: one whole measurement on run.
void RunBacklashWorker(BacklashRun& run);

}  // namespace hw
