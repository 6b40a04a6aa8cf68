// Text crosses the wide Windows calls here: the program keeps its text in
// UTF-8, and the wide calls take and give UTF-16, so that a path such as
// C:\Users\Łukasz or a folder named 李 reaches the system whole whatever the
// PC's ANSI code page.
#pragma once

#include <windows.h>

#include <climits>
#include <string>
#include <string_view>

namespace hw {

// The UTF-16 form of text. Text that is not UTF-8 (bytes the machine sent, in
// the ANSI code page) is read in the ANSI code page, as a narrow call reads it.
inline std::wstring Widen(std::string_view text) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int size = static_cast<int>(text.size());
    UINT codePage = CP_UTF8;
    DWORD flags = MB_ERR_INVALID_CHARS;
    int length = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    if (length == 0) {
        codePage = CP_ACP;
        flags = 0;
        length = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), length);
    return wide;
}

// The UTF-8 form of UTF-16 text.
inline std::string Narrow(std::wstring_view text) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

}  // namespace hw
