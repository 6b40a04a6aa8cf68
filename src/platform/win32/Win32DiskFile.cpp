#include "platform/win32/Win32DiskFile.h"

#include <utility>

#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Utf8.h"

namespace hw {

namespace {

HANDLE OpenFile(const std::string& path, DiskFile::Mode mode) {
    if (mode == DiskFile::Mode::Read) {
        return CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    return CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

DWORD MoveMethod(File::SeekFrom from) {
    switch (from) {
        case File::SeekFrom::Current:
            return FILE_CURRENT;
        case File::SeekFrom::End:
            return FILE_END;
        case File::SeekFrom::Begin:
            break;
    }
    return FILE_BEGIN;
}

}  // namespace

FileException::Cause FileErrorCause(std::uint32_t error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
            return FileException::Cause::FileNotFound;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            return FileException::Cause::BadPath;
        case ERROR_ACCESS_DENIED:
            return FileException::Cause::AccessDenied;
        case ERROR_SHARING_VIOLATION:
            return FileException::Cause::SharingViolation;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return FileException::Cause::DiskFull;
        default:
            return FileException::Cause::Generic;
    }
}

DiskFile::DiskFile(std::string path, Mode mode)
    : path_(std::move(path)), handle_(ToOsHandle(OpenFile(path_, mode))) {
    if (handle_ == kInvalidHandle) ThrowLastError();
}

DiskFile::~DiskFile() {
    CloseHandle(ToHandle(handle_));
}

std::uint32_t DiskFile::Read(void* buffer, std::uint32_t n) {
    DWORD done = 0;
    if (!ReadFile(ToHandle(handle_), buffer, n, &done, nullptr)) ThrowLastError();
    return done;
}

void DiskFile::Write(const void* buffer, std::uint32_t n) {
    DWORD done = 0;
    if (!WriteFile(ToHandle(handle_), buffer, n, &done, nullptr)) ThrowLastError();
    // A disk file takes all bytes or fails; a short write means no room.
    if (done != n) Throw(FileException::Cause::DiskFull);
}

std::uint64_t DiskFile::Seek(std::int64_t offset, SeekFrom from) {
    LARGE_INTEGER distance{};
    distance.QuadPart = offset;
    LARGE_INTEGER position{};
    if (!SetFilePointerEx(ToHandle(handle_), distance, &position, MoveMethod(from))) {
        ThrowLastError();
    }
    return static_cast<std::uint64_t>(position.QuadPart);
}

std::uint64_t DiskFile::GetLength() const {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(ToHandle(handle_), &size)) ThrowLastError();
    return static_cast<std::uint64_t>(size.QuadPart);
}

void DiskFile::Flush() {
    if (!FlushFileBuffers(ToHandle(handle_))) ThrowLastError();
}

void DiskFile::ThrowLastError() const {
    Throw(FileErrorCause(GetLastError()));
}

void DiskFile::Throw(FileException::Cause cause) const {
    throw FileException(cause, path_);
}

}  // namespace hw
