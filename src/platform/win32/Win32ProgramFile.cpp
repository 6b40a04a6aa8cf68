#include "platform/win32/Win32ProgramFile.h"

#include "platform/win32/Win32Utf8.h"

namespace hw {

// The wide call gives the path whole whatever the ANSI code page; it is kept
// in UTF-8.
std::string Win32ProgramFile::Path() {
    wchar_t path[kMaxPath] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(kMaxPath));
    // A path cut at the buffer's end is no path to build on.
    if (length == 0 || length >= kMaxPath) return {};
    return Narrow(std::wstring_view(path, length));
}

}  // namespace hw
