#include "platform/win32/Win32SettingsFile.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "platform/win32/Win32Utf8.h"

namespace hw {

// The wide call reads a file at any path; the entries come back in UTF-8.
// The capacity counts the characters the system's buffer holds.
std::string Win32SettingsFile::ReadSection(const std::string& path, const std::string& section,
                                           std::size_t capacity) {
    // The call takes a 32-bit size; a larger capacity could never be filled.
    const auto size =
        static_cast<DWORD>(std::min<std::size_t>(capacity, std::numeric_limits<DWORD>::max()));
    if (size == 0) return {};
    std::vector<wchar_t> buffer(size, L'\0');
    // The count excludes the final extra NUL and never exceeds size - 2.
    const DWORD count =
        GetPrivateProfileSectionW(Widen(section).c_str(), buffer.data(), size, Widen(path).c_str());
    return Narrow(std::wstring_view(buffer.data(), std::min<std::size_t>(count, size)));
}

}  // namespace hw
