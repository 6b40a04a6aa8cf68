#include "sim/machine/SimInstructions.h"

#include <algorithm>
#include <charconv>

namespace hw {

bool ParseInstruction(std::string_view text, SimInstruction& instruction) {
    if (text.size() < 3) return false;
    instruction.mnemonic = std::string(text.substr(0, 3));
    instruction.args.clear();
    std::string_view rest = text.substr(3);
    while (!rest.empty()) {
        std::int32_t value = 0;
        const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
        if (error != std::errc{}) return false;
        instruction.args.push_back(value);
        rest.remove_prefix(static_cast<std::size_t>(end - rest.data()));
        if (rest.empty()) break;
        if (rest.front() != ',' || rest.size() == 1) return false;
        rest.remove_prefix(1);
    }
    return true;
}

void SimInstructionReader::Feed(const std::uint8_t* data, std::uint32_t n, const Sink& sink) {
    std::string_view rest(reinterpret_cast<const char*>(data), n);
    while (!rest.empty()) {
        const std::size_t end = rest.find(';');
        Take(rest.substr(0, end));
        if (end == std::string_view::npos) return;
        if (!overflow_ && !pending_.empty()) sink(pending_);
        pending_.clear();
        overflow_ = false;
        rest.remove_prefix(end + 1);
    }
}

// Text up to the next ';' (none in text): line ends are dropped, and once the
// instruction is too long the rest of it is not even looked at. Works a line
// at a time rather than a byte at a time: this runs on every bulk write.
void SimInstructionReader::Take(std::string_view text) {
    while (!overflow_ && !text.empty()) {
        // Beyond one byte more than there is room for, nothing can matter.
        const std::size_t room = kMaxInstruction - pending_.size();
        const std::string_view window = text.substr(0, room + 1);
        const std::size_t lineEnd = std::min(window.find('\r'), window.find('\n'));
        const std::string_view part = window.substr(0, lineEnd);
        if (part.size() > room) {
            overflow_ = true;
            return;
        }
        pending_.append(part);
        if (lineEnd == std::string_view::npos) return;
        text.remove_prefix(lineEnd + 1);
    }
}

void SimInstructionReader::Reset() {
    pending_.clear();
    overflow_ = false;
}

}  // namespace hw
