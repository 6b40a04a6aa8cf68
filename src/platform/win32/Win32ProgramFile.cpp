#include "platform/win32/Win32ProgramFile.h"

#include <windows.h>

namespace hw {

std::string Win32ProgramFile::Path() {
    char path[kMaxPath] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, static_cast<DWORD>(kMaxPath));
    // A path cut at the buffer's end is no path to build on.
    if (length == 0 || length >= kMaxPath) return {};
    return std::string(path, length);
}

}  // namespace hw
