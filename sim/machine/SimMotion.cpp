#include "sim/machine/SimMotion.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace hw {

namespace {

// Counts per millisecond of an axis at a feed.
double Speed(int axis, std::uint32_t feed) {
    const double f = std::clamp(feed, kSimMinFeed, kSimMaxFeed);
    return axis == kSimAxisA ? f / 60.0 : f / 600.0;
}

double Wrap360(double degrees) {
    const double wrapped = std::fmod(degrees, 360.0);
    return wrapped < 0 ? wrapped + 360.0 : wrapped;
}

}  // namespace

double LostMotionProfile::At(double angleDeg) const {
    const double phase = (angleDeg - peakAngleDeg) * std::numbers::pi / 180.0;
    return baseDeg + (peakDeg - baseDeg) * (1.0 + std::cos(phase)) / 2.0;
}

bool SimMotion::WithinTravel(const SimPosition& target) {
    for (int i = 0; i < kSimAxes; ++i) {
        if (target[i] < kSimTravel[i].min || target[i] > kSimTravel[i].max) return false;
    }
    return true;
}

void SimMotion::Begin(const Segment& segment, double start) {
    from_ = position_;
    current_ = segment;
    start_ = start;
    duration_ = 0;
    for (int i = 0; i < kSimAxes; ++i) {
        const double distance = std::abs(static_cast<double>(segment.target[i]) - position_[i]);
        duration_ = std::max(duration_, distance / Speed(i, segment.feed));
    }
    active_ = true;
}

void SimMotion::Update(std::uint64_t now) {
    const auto t = static_cast<double>(now);
    while (active_) {
        const double end = start_ + duration_;
        if (t < end) {
            const double done = (t - start_) / duration_;
            for (int i = 0; i < kSimAxes; ++i) {
                const double delta = static_cast<double>(current_.target[i]) - from_[i];
                position_[i] = from_[i] + static_cast<std::int32_t>(std::lround(delta * done));
            }
            TrackTable();
            return;
        }
        position_ = current_.target;
        TrackTable();
        active_ = false;
        if (!queue_.empty()) {
            Begin(queue_.front(), end);
            queue_.pop_front();
        }
    }
}

void SimMotion::MoveTo(const SimPosition& target, std::uint32_t feed, std::uint64_t now) {
    Stop(now);
    Begin({target, feed}, static_cast<double>(now));
}

void SimMotion::Queue(const SimPosition& target, std::uint32_t feed, std::uint64_t now) {
    Update(now);
    if (active_) {
        queue_.push_back({target, feed});
    } else {
        Begin({target, feed}, static_cast<double>(now));
    }
}

void SimMotion::Stop(std::uint64_t now) {
    Update(now);
    active_ = false;
    queue_.clear();
}

void SimMotion::Place(const SimPosition& position) {
    active_ = false;
    queue_.clear();
    position_ = position;
    table_ = position[kSimAxisA];
}

void SimMotion::WrapRotary() {
    const std::int32_t turns = position_[kSimAxisA] / kSimCountsPerTurn;
    const std::int32_t shift = turns * kSimCountsPerTurn;
    position_[kSimAxisA] -= shift;
    table_ -= shift;
}

SimPosition SimMotion::FinalTarget() const {
    if (!queue_.empty()) return queue_.back().target;
    return active_ ? current_.target : position_;
}

void SimMotion::TrackTable() {
    const double motor = position_[kSimAxisA];
    const double half = profile_.At(Wrap360(motor / 1000.0)) * 1000.0 / 2.0;
    if (motor > table_ + half) {
        table_ = motor - half;
    } else if (motor < table_ - half) {
        table_ = motor + half;
    }
}

std::int32_t SimMotion::EncoderCount() const {
    return static_cast<std::int32_t>(std::lround(table_ / kSimCountsPerEncoderStep));
}

double SimMotion::TableAngleDeg() const {
    return Wrap360(table_ / 1000.0);
}

}  // namespace hw
