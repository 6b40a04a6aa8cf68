#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <cstdio>

#include "platform/win32/Win32DiskFile.h"

namespace hw {

std::unique_ptr<File> Win32FileSystem::Open(const std::string& path, Access access) {
    const auto mode = access == Access::Read ? DiskFile::Mode::Read : DiskFile::Mode::CreateWrite;
    return std::make_unique<DiskFile>(path, mode);
}

void Win32FileSystem::Replace(const std::string& from, const std::string& to) {
    if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        throw FileException(FileErrorCause(GetLastError()), to);
    }
}

bool Win32FileSystem::Remove(const std::string& path) {
    return DeleteFileA(path.c_str()) != FALSE;
}

// Names "~hw<pid><n>.tmp" are tried in turn until one is free.
std::string Win32FileSystem::TemporaryNameBeside(const std::string& path) {
    static unsigned counter = 0;
    const unsigned long process = GetCurrentProcessId();
    for (;;) {
        char name[40];
        std::snprintf(name, sizeof name, "~hw%04lX%04X.tmp", process & 0xFFFF, ++counter & 0xFFFF);
        std::string candidate = PathBeside(path, name);
        if (GetFileAttributesA(candidate.c_str()) == INVALID_FILE_ATTRIBUTES) return candidate;
    }
}

}  // namespace hw
