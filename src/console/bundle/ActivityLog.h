// The console's activity log: what happened since start-up, one line per
// event, each stamped with the PC's local date and time to the second. It
// lives in memory only and keeps the most recent kActivityLogLines lines,
// and besides them every line added with Keep.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

#include "platform/device/System.h"

namespace hw {

inline constexpr std::size_t kActivityLogLines = 2000;

// "yyyy-mm-dd hh:mm:ss".
std::string TimestampText(const LocalTime& when);

class ActivityLog {
  public:
    explicit ActivityLog(System& system) : system_(system) {}

    // Appends "<timestamp>  <text>", its line breaks made spaces, dropping the oldest line when the
    // log is full.
    void Add(std::string_view text);
    // As Add, for a line that is never dropped: what the machine cannot tell
    // again, such as the serial numbers written into it.
    void Keep(std::string_view text);

    // Every line kept, oldest first, each ended by CR LF.
    std::string Text() const;

  private:
    struct Line {
        std::string text;
        bool kept = false;
    };

    void Append(std::string_view text, bool kept);

    System& system_;
    std::deque<Line> lines_;
    // Lines that Add made, which the newest kActivityLogLines replace.
    std::size_t droppable_ = 0;
};

}  // namespace hw
