#include "console/bundle/ActivityLog.h"

#include <algorithm>
#include <cstdio>

namespace hw {

std::string TimestampText(const LocalTime& when) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", when.year, when.month,
                  when.day, when.hour, when.minute, when.second);
    return text;
}

void ActivityLog::Add(std::string_view text) {
    Append(text, false);
}

void ActivityLog::Keep(std::string_view text) {
    Append(text, true);
}

void ActivityLog::Append(std::string_view text, bool kept) {
    if (!kept && droppable_ == kActivityLogLines) {
        lines_.erase(std::find_if(lines_.begin(), lines_.end(),
                                  [](const Line& line) { return !line.kept; }));
        --droppable_;
    }
    std::string line = TimestampText(system_.Now()) + "  " + std::string(text);
    // One event, one line: box texts may span several.
    for (char& c : line) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    lines_.push_back({std::move(line), kept});
    if (!kept) ++droppable_;
}

std::string ActivityLog::Text() const {
    std::string text;
    for (const Line& line : lines_) text += line.text + "\r\n";
    return text;
}

}  // namespace hw
