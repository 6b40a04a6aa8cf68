#include "platform/win32/Win32System.h"

#include <windows.h>

namespace hw {

std::uint32_t Win32System::TickCount() {
    return GetTickCount();
}

void Win32System::Sleep(std::uint32_t ms) {
    ::Sleep(ms);
}

LocalTime Win32System::Now() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

bool Win32System::QueryPlatformId(std::uint32_t& platformId) {
    OsVersion version;
    if (!QueryOsVersion(version)) return false;
    platformId = version.platformId;
    return true;
}

bool Win32System::QueryOsVersion(OsVersion& version) {
    // The basic version record, zero-filled, with its size field set.
    OSVERSIONINFOW info{};
    static_assert(sizeof(info) == 276);
    info.dwOSVersionInfoSize = sizeof(info);
#ifdef _MSC_VER
#pragma warning(suppress : 4996)  // deprecated, yet the only source of the platform id
#endif
    const BOOL result = GetVersionExW(&info);
    if (!result) return false;
    version = {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
    return true;
}

}  // namespace hw
