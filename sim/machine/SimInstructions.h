// The instruction text the machine takes on its bulk-out endpoint and in print
// jobs (the test cut): instructions such as "^PD23000,19000" ended by ';'.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

struct SimInstruction {
    std::string mnemonic;            // the first three characters, e.g. "^PD"
    std::vector<std::int32_t> args;  // comma-separated integers after it
};

// Parses one instruction (without its ';'). False for text that is not an
// instruction: shorter than three characters, or arguments that are not integers.
bool ParseInstruction(std::string_view text, SimInstruction& instruction);

// Cuts a byte stream into instructions. Text longer than kMaxInstruction before
// its ';' is dropped up to that ';'.
class SimInstructionReader {
  public:
    static constexpr std::size_t kMaxInstruction = 128;
    using Sink = std::function<void(std::string_view)>;

    void Feed(const std::uint8_t* data, std::uint32_t n, const Sink& sink);
    void Reset();

  private:
    void Take(std::string_view text);

    std::string pending_;
    bool overflow_ = false;
};

}  // namespace hw
