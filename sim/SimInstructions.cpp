#include "SimInstructions.h"

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
// instruction is too long the rest of it is not even looked at.
void SimInstructionReader::Take(std::string_view text) {
    for (const char c : text) {
        if (overflow_) return;
        if (c == '\r' || c == '\n') continue;
        if (pending_.size() < kMaxInstruction) {
            pending_.push_back(c);
        } else {
            overflow_ = true;
        }
    }
}

void SimInstructionReader::Reset() {
    pending_.clear();
    overflow_ = false;
}

}  // namespace hw
