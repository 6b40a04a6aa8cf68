#include "console/ActivityLog.h"

#include <cstdio>

namespace hw {

std::string TimestampText(const LocalTime& when) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", when.year, when.month,
                  when.day, when.hour, when.minute, when.second);
    return text;
}

void ActivityLog::Add(std::string_view text) {
    if (lines_.size() == kActivityLogLines) lines_.pop_front();
    std::string line = TimestampText(system_.Now()) + "  " + std::string(text);
    // One event, one line: box texts may span several.
    for (char& c : line) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    lines_.push_back(std::move(line));
}

std::string ActivityLog::Text() const {
    std::string text;
    for (const std::string& line : lines_) text += line + "\r\n";
    return text;
}

}  // namespace hw
