#include "platform/win32/Win32FileSystem.h"

#include <windows.h>
// After <windows.h>, which it needs.
#include <shlobj.h>

#include <cstdio>
#include <memory>

#include "platform/win32/Win32DiskFile.h"
#include "platform/win32/Win32Utf8.h"

namespace hw {

namespace {

// Closes a file handle that CreateFileW returned, unless that failed.
struct CloseFileHandle {
    void operator()(HANDLE handle) const {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
};
using FileHandle = std::unique_ptr<void, CloseFileHandle>;

// Ends a folder listing that FindFirstFileW began, unless that failed.
struct CloseFind {
    void operator()(HANDLE handle) const {
        if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
    }
};
using FindHandle = std::unique_ptr<void, CloseFind>;

constexpr const char* kLocalAppDataName = "the local application data folder";

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The path without the separators it ends with.
std::string WithoutTrailingSeparators(std::string path) {
    while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    return path;
}

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
        const FileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE) ThrowLastError(path);
        created = GetLastError() != ERROR_ALREADY_EXISTS;
    }
    if (created) DeleteFileW(Widen(path).c_str());
}

bool Win32FileSystem::Exists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void Win32FileSystem::Replace(const std::string& from, const std::string& to) {
    if (!MoveFileExW(Widen(from).c_str(), Widen(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ThrowLastError(to);
    }
}

void Win32FileSystem::Remove(const std::string& path) {
    if (!DeleteFileW(Widen(path).c_str())) ThrowLastError(path);
}

std::string Win32FileSystem::LocalAppDataFolder() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(
            SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)) ||
        folder[0] == L'\0') {
        throw FileException(FileException::Cause::FileNotFound, kLocalAppDataName);
    }
    return WithoutTrailingSeparators(Narrow(folder));
}

// The folders above are made first, from the top down; a drive ("C:") or a
// share that is not there fails when its first folder is made, and so does a
// file that stands where a folder should.
void Win32FileSystem::CreateFolder(const std::string& path) {
    const std::string folder = WithoutTrailingSeparators(path);
    if (folder.empty() || folder.back() == ':' || IsFolder(folder)) return;
    const std::string parent = WithoutTrailingSeparators(PathBeside(folder, ""));
    if (!parent.empty() && parent != folder) CreateFolder(parent);
    if (!CreateDirectoryW(Widen(folder).c_str(), nullptr)) {
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS || !IsFolder(folder)) {
            throw FileException(FileErrorCause(error), folder);
        }
    }
}

std::vector<std::string> Win32FileSystem::FileNamesIn(const std::string& path) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = Widen(WithoutTrailingSeparators(path) + "\\*");
    const FindHandle find(FindFirstFileW(pattern.c_str(), &found));
    if (find.get() == INVALID_HANDLE_VALUE) return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            names.push_back(Narrow(found.cFileName));
        }
    } while (FindNextFileW(find.get(), &found));
    return names;
}

// Names "~hw<pid><n>.tmp" are tried in turn until one is free.
std::string Win32FileSystem::TemporaryNameBeside(const std::string& path) {
    static unsigned counter = 0;
    const unsigned long process = GetCurrentProcessId();
    for (;;) {
        char name[40];
        std::snprintf(name, sizeof name, "~hw%04lX%04X.tmp", process & 0xFFFF, ++counter & 0xFFFF);
        std::string candidate = PathBeside(path, name);
        if (GetFileAttributesW(Widen(candidate).c_str()) == INVALID_FILE_ATTRIBUTES)
            return candidate;
    }
}

}  // namespace hw
