#include "link/StartupTimer.h"

namespace hw {

namespace {

// The names of the parts in the line, in StartupPart's order.
constexpr const char* kPartNames[] = {"spooler", "registry", "device", "first reads", "dialog"};
static_assert(std::size(kPartNames) == static_cast<std::size_t>(StartupPart::Count));

// "12.3 ms": microseconds to the nearest tenth of a millisecond.
std::string Milliseconds(std::uint64_t us) {
    const std::uint64_t tenths = (us + 50) / 100;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " ms";
}

}  // namespace

StartupTimer::StartupTimer(System& clock, std::uint64_t beforeUs)
    : clock(clock), beforeUs(beforeUs), startUs(clock.MicrosecondCount()) {}

void StartupTimer::CountSince(StartupPart part, std::uint64_t since) {
    partUs[static_cast<std::size_t>(part)] += Now() - since;
}

std::string StartupTimer::Line() const {
    const std::uint64_t sinceStart = Now() - startUs;
    std::string line = "Start-up: process " + Milliseconds(beforeUs);
    std::uint64_t counted = 0;
    for (std::size_t i = 0; i < partUs.size(); ++i) {
        line += std::string(", ") + kPartNames[i] + " " + Milliseconds(partUs[i]);
        counted += partUs[i];
    }
    // Steps are timed one after another, never inside each other.
    line += ", other " + Milliseconds(sinceStart - counted);
    return line + ", total " + Milliseconds(beforeUs + sinceStart);
}

}  // namespace hw
