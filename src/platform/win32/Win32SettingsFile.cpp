#include "platform/win32/Win32SettingsFile.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <vector>

namespace hw {

std::string Win32SettingsFile::ReadSection(const std::string& path, const std::string& section,
                                           std::size_t capacity) {
    // The call takes a 32-bit size; a larger capacity could never be filled.
    const auto size =
        static_cast<DWORD>(std::min<std::size_t>(capacity, std::numeric_limits<DWORD>::max()));
    if (size == 0) return {};
    std::vector<char> buffer(size, '\0');
    // The count excludes the final extra NUL and never exceeds size - 2.
    const DWORD count =
        GetPrivateProfileSectionA(section.c_str(), buffer.data(), size, path.c_str());
    return std::string(buffer.data(), std::min<std::size_t>(count, size));
}

}  // namespace hw
