#include "platform/win32/Win32Text.h"

#include <windows.h>

#include <limits>

namespace hw {

bool Win32Text::IsLeadByte(std::uint8_t byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

// CompareStringA takes explicit lengths, so neither string needs a NUL and an
// embedded NUL is compared like any other character. A string too long for
// its int length is never equal (registry names are at most 255 bytes).
bool Win32Text::EqualsIgnoreCase(std::string_view a, std::string_view b) {
    constexpr std::size_t kLongest = static_cast<std::size_t>(std::numeric_limits<int>::max());
    if (a.size() > kLongest || b.size() > kLongest) return false;
    return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.data(),
                          static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

}  // namespace hw
