// The machine's time since its clock started and the events it notes, each
// stamped with that time; the service report lists the latest of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hw {

class SimLogbook {
  public:
    explicit SimLogbook(std::uint64_t now) : now_(now) {}

    std::uint64_t Now() const { return now_; }
    // Moves the time on to now, never back; returns the milliseconds passed.
    std::uint64_t Advance(std::uint64_t now);

    void Note(const std::string& text);
    const std::vector<std::string>& Events() const { return events_; }

  private:
    std::uint64_t now_;
    std::vector<std::string> events_;
};

}  // namespace hw
