#include "sim/machine/SimLogbook.h"

#include <algorithm>
#include <cstdio>

namespace hw {

namespace {

constexpr std::size_t kMaxEvents = 40;

}  // namespace

std::uint64_t SimLogbook::Advance(std::uint64_t now) {
    const std::uint64_t then = now_;
    now_ = std::max(now_, now);
    return now_ - then;
}

void SimLogbook::Note(const std::string& text) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%8llu.%03u  ", static_cast<unsigned long long>(now_ / 1000),
                  static_cast<unsigned>(now_ % 1000));
    if (events_.size() == kMaxEvents) events_.erase(events_.begin());
    events_.push_back(stamp + text);
}

}  // namespace hw
