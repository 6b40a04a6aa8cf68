// The clock the simulated machine and the simulated Windows run on: a test
// clock that moves only when asked (and by a fixed step on every reading), or
// the real steady clock for demonstrations.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace hw {

class SimClock {
  public:
    virtual ~SimClock() = default;

    // Milliseconds since the clock started.
    virtual std::uint64_t NowMs() = 0;

    // Lets ms milliseconds pass for the caller.
    virtual void SleepMs(std::uint32_t ms) = 0;
};

// Deterministic time: every NowMs() returns the current time and then moves it
// on by step, so that polling loops see time pass; SleepMs and Advance move it
// by the amount asked.
class TestClock final : public SimClock {
  public:
    explicit TestClock(std::uint32_t stepMs = 1, std::uint64_t startMs = 0)
        : now_(startMs), step_(stepMs) {}

    std::uint64_t NowMs() override { return now_.fetch_add(step_.load()); }
    void SleepMs(std::uint32_t ms) override { now_ += ms; }

    void Advance(std::uint64_t ms) { now_ += ms; }
    void SetStep(std::uint32_t stepMs) { step_ = stepMs; }
    // The current time, without moving it.
    std::uint64_t Peek() const { return now_.load(); }

  private:
    std::atomic<std::uint64_t> now_;
    std::atomic<std::uint32_t> step_;
};

// Wall-clock time for the demonstration: the steady clock since construction.
class RealClock final : public SimClock {
  public:
    std::uint64_t NowMs() override;
    void SleepMs(std::uint32_t ms) override;

  private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace hw
