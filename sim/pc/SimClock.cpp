#include "sim/pc/SimClock.h"

#include <thread>

namespace hw {

std::uint64_t RealClock::NowMs() {
    const auto elapsed = std::chrono::steady_clock::now() - start_;
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void RealClock::SleepMs(std::uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void RealClock::WaitFor(std::condition_variable& wake, std::unique_lock<std::mutex>& lock,
                        std::uint32_t ms) {
    wake.wait_for(lock, std::chrono::milliseconds(ms));
}

void TestClock::WaitFor(std::condition_variable& wake, std::unique_lock<std::mutex>& lock,
                        std::uint32_t ms) {
    now_ += ms;
    wake.wait_for(lock, kRealPause);
}

}  // namespace hw
