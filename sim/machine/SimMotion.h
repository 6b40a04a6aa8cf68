// The four axes of the simulated machine: queued straight moves at a feed,
// advanced from the clock, and the rotary axis's table behind its lost motion,
// read by the encoder that feeds the dial counter.
#pragma once

#include <array>
#include <cstdint>
#include <deque>

#include "sim/machine/SimConfig.h"

namespace hw {

// Positions in machine counts: 1/100 mm on X, Y and Z, 1/1000 degree on A.
using SimPosition = std::array<std::int32_t, kSimAxes>;

struct SimTravel {
    std::int32_t min;
    std::int32_t max;
};

// Travel of each axis. Z is 0 at the top and negative downward; A turns freely
// within a hundred turns either way.
inline constexpr std::array<SimTravel, kSimAxes> kSimTravel{
    {{0, 60000}, {0, 40000}, {-4000, 0}, {-36000000, 36000000}}};

inline constexpr std::int32_t kSimCountsPerTurn = 360000;
// Table counts per encoder step: 0.018 degree.
inline constexpr double kSimCountsPerEncoderStep = 18.0;
// Feed limits, in mm/min on linear axes and degrees/min on A.
inline constexpr std::uint32_t kSimMinFeed = 60;
inline constexpr std::uint32_t kSimMaxFeed = 12000;

class SimMotion {
  public:
    explicit SimMotion(const LostMotionProfile& profile) : profile_(profile) {}

    // Advances the motion to time now (milliseconds of the machine clock).
    void Update(std::uint64_t now);
    // Drops any queued motion and heads for target from the current position.
    void MoveTo(const SimPosition& target, std::uint32_t feed, std::uint64_t now);
    // Appends a move after the queued ones (starts it at once when idle).
    void Queue(const SimPosition& target, std::uint32_t feed, std::uint64_t now);
    // Stops where the axes stand and drops the queue.
    void Stop(std::uint64_t now);
    // Sets the axes where they stand, without motion (power-on).
    void Place(const SimPosition& position);
    // Brings the rotary axis back into its first turn, without moving it.
    void WrapRotary();

    bool Moving() const { return active_; }
    const SimPosition& Position() const { return position_; }
    // Where the axes end up when the queue has run.
    SimPosition FinalTarget() const;
    // The encoder's count of the rotary table, 0.018 degree per step.
    std::int32_t EncoderCount() const;
    // The rotary table's angle in degrees within the turn.
    double TableAngleDeg() const;

    static bool WithinTravel(const SimPosition& target);

  private:
    struct Segment {
        SimPosition target;
        std::uint32_t feed;
    };

    void Begin(const Segment& segment, double start);
    void TrackTable();

    LostMotionProfile profile_;
    SimPosition position_{};
    SimPosition from_{};
    std::deque<Segment> queue_;
    Segment current_{};
    bool active_ = false;
    double start_ = 0;
    double duration_ = 0;
    // The rotary table position in counts; lags the motor by the lost motion.
    double table_ = 0;
};

}  // namespace hw
