#include "sim/pc/SimText.h"

namespace hw {

namespace {

// Code page 932: full-width A-Z are 0x82 0x60-0x79, full-width a-z 0x82 0x81-0x9A.
constexpr std::uint8_t kFullWidthLead = 0x82;
constexpr std::uint8_t kFullWidthUpperA = 0x60;
constexpr std::uint8_t kFullWidthUpperZ = 0x79;
constexpr std::uint8_t kFullWidthCaseShift = 0x81 - 0x60;

std::uint8_t Byte(char c) {
    return static_cast<std::uint8_t>(c);
}

// One character in a folded form: its lead byte (0 for a single byte) and its
// last byte, lower case.
struct Folded {
    std::uint8_t lead;
    std::uint8_t last;
    bool operator==(const Folded&) const = default;
};

std::uint8_t FoldAscii(std::uint8_t c) {
    return c >= 'A' && c <= 'Z' ? static_cast<std::uint8_t>(c - 'A' + 'a') : c;
}

}  // namespace

bool SimText::IsLeadByte(std::uint8_t byte) {
    if (codePage_ != CodePage::Japanese932) return false;
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Walks both strings a character at a time: a lead byte and its trail byte
// are one character, and a trail byte is never folded as if it were ASCII. A
// lead byte at the very end stands alone.
bool SimText::EqualsIgnoreCase(std::string_view a, std::string_view b) {
    const auto next = [this](std::string_view text, std::size_t& i) {
        const std::uint8_t first = Byte(text[i++]);
        if (!IsLeadByte(first) || i == text.size()) return Folded{0, FoldAscii(first)};
        std::uint8_t trail = Byte(text[i++]);
        if (first == kFullWidthLead && trail >= kFullWidthUpperA && trail <= kFullWidthUpperZ) {
            trail = static_cast<std::uint8_t>(trail + kFullWidthCaseShift);
        }
        return Folded{first, trail};
    };
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (!(next(a, i) == next(b, j))) return false;
    }
    return i == a.size() && j == b.size();
}

}  // namespace hw
