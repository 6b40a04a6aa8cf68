// The clock the simulated machine and the simulated Windows run on: a test
// clock that moves only when asked (and by a fixed step on every reading), or
// the real steady clock for demonstrations.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace hw {

class SimClock {
  public:
    virtual ~SimClock() = default;

    // Milliseconds since the clock started.
    virtual std::uint64_t NowMs() = 0;

    // Lets ms milliseconds pass for the caller.
    virtual void SleepMs(std::uint32_t ms) = 0;

    // Blocks the caller on wake (lock held on entry and on return) until it is
    // notified or ms milliseconds of this clock have passed; may also return
    // early, so callers re-check their condition.
    virtual void WaitFor(std::condition_variable& wake, std::unique_lock<std::mutex>& lock,
                         std::uint32_t ms) = 0;
};

// Deterministic time: every NowMs() returns the current time and then moves it
// on by step, so that polling loops see time pass; SleepMs, WaitFor and Advance
// move it by the amount asked. WaitFor gives other threads a moment of real
// time to notify before it returns, without waiting out ms in real time.
class TestClock final : public SimClock {
  public:
    explicit TestClock(std::uint32_t stepMs = 1, std::uint64_t startMs = 0)
        : now_(startMs), step_(stepMs) {}

    std::uint64_t NowMs() override { return now_.fetch_add(step_.load()); }
    void SleepMs(std::uint32_t ms) override { now_ += ms; }
    void WaitFor(std::condition_variable& wake, std::unique_lock<std::mutex>& lock,
                 std::uint32_t ms) override;

    void Advance(std::uint64_t ms) { now_ += ms; }
    void SetStep(std::uint32_t stepMs) { step_ = stepMs; }
    // The current time, without moving it.
    std::uint64_t Peek() const { return now_.load(); }

  private:
    // Real time a waiter leaves the other threads on each WaitFor.
    static constexpr std::chrono::milliseconds kRealPause{1};

    std::atomic<std::uint64_t> now_;
    std::atomic<std::uint32_t> step_;
};

// Wall-clock time for the demonstration: the steady clock since construction.
class RealClock final : public SimClock {
  public:
    std::uint64_t NowMs() override;
    void SleepMs(std::uint32_t ms) override;
    void WaitFor(std::condition_variable& wake, std::unique_lock<std::mutex>& lock,
                 std::uint32_t ms) override;

  private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace hw
