#include "platform/win32/Win32Text.h"

#include <windows.h>

#include <limits>

#include "platform/win32/Win32Utf8.h"

namespace hw {

bool Win32Text::IsLeadByte(std::uint8_t byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

// The texts are compared in UTF-16 (a text that is not UTF-8 is read in the
// ANSI code page), so that letters outside the code page fold as well.
// CompareStringW takes explicit lengths, so neither string needs a NUL and an
// embedded NUL is compared like any other character. A string too long for
// its int length is never equal (registry names are at most 255 characters).
bool Win32Text::EqualsIgnoreCase(std::string_view a, std::string_view b) {
    constexpr std::size_t kLongest = static_cast<std::size_t>(std::numeric_limits<int>::max());
    if (a.size() > kLongest || b.size() > kLongest) return false;
    const std::wstring wideA = Widen(a);
    const std::wstring wideB = Widen(b);
    return CompareStringW(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, wideA.data(),
                          static_cast<int>(wideA.size()), wideB.data(),
                          static_cast<int>(wideB.size())) == CSTR_EQUAL;
}

}  // namespace hw
