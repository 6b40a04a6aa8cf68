// The rules of the ANSI code page for text the program takes apart or
// compares: which bytes open a double-byte character, and which strings are
// equal when letter case is ignored.
#pragma once

#include <cstdint>
#include <string_view>

namespace hw {

class Text {
  public:
    virtual ~Text() = default;

    // True when byte is the lead byte of a double-byte character in the ANSI
    // code page: the byte after it is that character's trail byte, whatever
    // its value (a trail byte may equal '\\', '.' or an ASCII letter).
    virtual bool IsLeadByte(std::uint8_t byte) = 0;

    // True when a and b are equal as the system's own comparison in its locale
    // finds them with letter case ignored: characters, not bytes, are
    // compared (UTF-8, or the ANSI code page for text that is not UTF-8), and
    // the letters of every script fold, not only ASCII ones. Whole strings are
    // compared, up to their sizes.
    virtual bool EqualsIgnoreCase(std::string_view a, std::string_view b) = 0;
};

}  // namespace hw
