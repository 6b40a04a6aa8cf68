#include "console/backlash/BacklashRun.h"

#include <algorithm>
#include <cstdlib>

namespace hw {

namespace {

using Position = std::array<std::int32_t, 4>;
constexpr int kAxisX = 0;
constexpr int kAxisY = 1;
constexpr int kAxisZ = 2;
constexpr int kAxisA = 3;

// A axis counts: 1000 per degree.
constexpr std::int32_t kStepCounts = 9000;
constexpr double kStepDegrees = 9.0;
constexpr std::int32_t kOvershootCounts = 5000;
constexpr std::int32_t kFullTurnCounts = 360000;
// Where X and Y stand while the table turns, clear of the rotary fixture.
constexpr std::int32_t kParkingY = 23000;
constexpr std::uint16_t kMoveParameter = 3600;
// Pause before each dial read and each status poll, so the machine settles.
constexpr std::uint32_t kPauseMs = 100;

// One measurement run on the worker thread. Every step that fails ends the
// run with the result left invalid.
class BacklashWorker {
  public:
    explicit BacklashWorker(BacklashRun& run) : run(run), link(run.link), result(run.result) {}

    void Run() {
        result.valid = false;
        if (!ReachOrigin()) return;
        link.SetPanelOperation(0);
        Position p{};
        if (link.GetPosition(p.data(), static_cast<int>(p.size())) < static_cast<int>(p.size()))
            return;
        p[kAxisZ] = 0;
        if (!MoveAndWait(p)) return;
        p[kAxisX] = 0;
        p[kAxisY] = kParkingY;
        if (!MoveAndWait(p)) return;
        for (int i = 0; i < kBacklashSteps; ++i) {
            if (!MeasureStep(i)) return;
        }
        p[kAxisA] = kFullTurnCounts;
        if (!MoveAndWait(p)) return;
        result.valid = true;
    }

  private:
    bool Cancelled() const { return run.cancelRequested.load(); }
    void Pause() { run.system.Sleep(kPauseMs); }

    static bool IsFailedRead(std::uint16_t status) {
        return status == kStatusNoAnswer || (status & kStatusStateMask) == kStateError;
    }

    // The run starts from the origin. A status that cannot be read is no
    // sign of a machine ready at its origin: the run ends there.
    bool ReachOrigin() {
        std::uint16_t status = link.GetStatusWord();
        if (status == kStatusNoAnswer) return false;
        if ((status & kStatusReadyAtOrigin) != 0) return true;
        link.ReturnToOrigin(0);
        for (;;) {
            Pause();
            if (Cancelled()) {
                link.StopMotion();
                return false;
            }
            status = link.GetStatusWord();
            if (IsFailedRead(status)) return false;
            if ((status & kStatusReadyAtOrigin) != 0) return (status & kStatusFailed) == 0;
        }
    }

    bool MeasureStep(int step) {
        run.step.store(step + 1);
        currentAngle = kStepDegrees * step;
        const std::int32_t target = kStepCounts * step;
        std::int32_t plus = 0;
        if (!MeasureLostMotion(target, kOvershootCounts, plus)) return false;
        Consider(plus);
        std::int32_t minus = 0;
        if (!MeasureLostMotion(target, -kOvershootCounts, minus)) return false;
        Consider(minus);
        const std::int32_t rows = std::min<std::int32_t>(result.capacity, kBacklashSteps);
        if (result.filled < rows) {
            result.rows[static_cast<std::size_t>(result.filled++)] = {
                currentAngle, plus * kDegreesPerDialStep, minus * kDegreesPerDialStep};
        }
        return true;
    }

    void Consider(std::int32_t measured) {
        if (!ReplacesLargest(largest, measured)) return;
        largest = measured;
        result.angle = currentAngle;
        result.backlash = largest * kDegreesPerDialStep;
    }

    // Approaches target, reads the dial, overshoots by offset, comes back
    // and reads it again: count is the second reading less the first.
    bool MeasureLostMotion(std::int32_t target, std::int32_t offset, std::int32_t& count) {
        Position q{};
        if (link.GetPosition(q.data(), static_cast<int>(q.size())) < static_cast<int>(q.size()))
            return false;
        count = 0;
        q[kAxisA] = target;
        std::int32_t first = 0;
        if (!MoveAndWait(q) || !ReadDial(first)) return false;
        q[kAxisA] = target + offset;
        if (!MoveAndWait(q)) return false;
        q[kAxisA] = target;
        std::int32_t second = 0;
        if (!MoveAndWait(q) || !ReadDial(second)) return false;
        // The counter wraps modulo 2^32; so does the difference.
        count = static_cast<std::int32_t>(static_cast<std::uint32_t>(second) -
                                          static_cast<std::uint32_t>(first));
        return true;
    }

    // A dial reading that does not come back would be taken as a count of
    // 0 and falsify the table, so it ends the run instead.
    bool ReadDial(std::int32_t& counter) {
        Pause();
        return link.GetDialCounter(&counter, 1) == 1;
    }

    // A Cancel that came while the last move ended starts no other one.
    bool MoveAndWait(const Position& p) {
        if (Cancelled()) return false;
        return link.MoveToPosition(p.data(), static_cast<int>(p.size()), kMoveParameter) &&
               WaitForMotionEnd();
    }

    // Waits, with no time limit, until the machine is no longer busy; only
    // Cancel, a failed read or the error state end the wait early.
    bool WaitForMotionEnd() {
        Pause();
        for (;;) {
            if (Cancelled()) {
                link.StopMotion();
                return false;
            }
            const std::uint16_t status = link.GetStatusWord();
            if (IsFailedRead(status)) return false;
            if ((status & kStatusBusy) == 0) return (status & kStatusFailed) == 0;
            Pause();
        }
    }

    BacklashRun& run;
    MachineLink& link;
    BacklashResult& result;
    std::int32_t largest = 0;
    double currentAngle = 0;
};

}  // namespace

bool ReplacesLargest(std::int32_t largest, std::int32_t candidate) {
    return std::llabs(largest) < std::llabs(candidate);
}

void RunBacklashWorker(BacklashRun& run) {
    BacklashWorker(run).Run();
    // The last action: from here on the dialog may read the result.
    run.workerRunning.store(false);
}

}  // namespace hw
