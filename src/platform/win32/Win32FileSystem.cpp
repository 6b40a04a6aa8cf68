#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <cstdio>
#include <memory>

#include "platform/win32/Win32DiskFile.h"

namespace hw {

namespace {

// Closes a file handle that CreateFileA returned, unless that failed.
struct CloseFileHandle {
    void operator()(HANDLE handle) const {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
};
using FileHandle = std::unique_ptr<void, CloseFileHandle>;

[[noreturn]] void ThrowLastError(const std::string& path) {
    throw FileException(FileErrorCause(GetLastError()), path);
}

}  // namespace

std::unique_ptr<File> Win32FileSystem::Open(const std::string& path, Access access) {
    const auto mode = access == Access::Read ? DiskFile::Mode::Read : DiskFile::Mode::CreateWrite;
    return std::make_unique<DiskFile>(path, mode);
}

// OPEN_ALWAYS opens an existing file without emptying it and tells by
// ERROR_ALREADY_EXISTS that it was there; not shared, so that a file another
// program holds open counts as in use.
void Win32FileSystem::CheckWritable(const std::string& path) {
    bool created = false;
    {
        const FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE) ThrowLastError(path);
        created = GetLastError() != ERROR_ALREADY_EXISTS;
    }
    if (created) DeleteFileA(path.c_str());
}

bool Win32FileSystem::Exists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void Win32FileSystem::Replace(const std::string& from, const std::string& to) {
    if (!MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ThrowLastError(to);
    }
}

void Win32FileSystem::Remove(const std::string& path) {
    if (!DeleteFileA(path.c_str())) ThrowLastError(path);
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
