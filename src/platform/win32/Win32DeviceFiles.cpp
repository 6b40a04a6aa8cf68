#include "platform/win32/Win32DeviceFiles.h"

#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Utf8.h"

namespace hw {

OsHandle Win32DeviceFiles::Open(const std::string& path, std::uint32_t flagsAndAttributes) {
    return ToOsHandle(CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, flagsAndAttributes, nullptr));
}

bool Win32DeviceFiles::Close(OsHandle handle) {
    return CloseHandle(ToHandle(handle)) == TRUE;
}

bool Win32DeviceFiles::Read(OsHandle handle, void* buffer, std::uint32_t n, std::uint32_t& done) {
    DWORD count = 0;
    if (!ReadFile(ToHandle(handle), buffer, n, &count, nullptr)) return false;
    done = count;
    return true;
}

bool Win32DeviceFiles::Write(OsHandle handle, const void* buffer, std::uint32_t n,
                             std::uint32_t& done) {
    DWORD count = 0;
    if (!WriteFile(ToHandle(handle), buffer, n, &count, nullptr)) return false;
    done = count;
    return true;
}

bool Win32DeviceFiles::Control(OsHandle handle, std::uint32_t code, const void* in,
                               std::uint32_t inLength, void* out, std::uint32_t outLength,
                               std::uint32_t& returned) {
    DWORD count = 0;
    // The input buffer is only read; the Win32 prototype just lacks the const.
    const BOOL result = DeviceIoControl(ToHandle(handle), code, const_cast<void*>(in), inLength,
                                        out, outLength, &count, nullptr);
    returned = count;
    return result == TRUE;
}

}  // namespace hw
