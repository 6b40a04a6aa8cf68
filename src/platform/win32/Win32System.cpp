#include "platform/win32/Win32System.h"

#include <windows.h>

namespace hw {

std::uint32_t Win32System::TickCount() {
    return GetTickCount();
}

std::uint64_t Win32System::MicrosecondCount() {
    LARGE_INTEGER frequency{}, counter{};
    if (!QueryPerformanceFrequency(&frequency) || !QueryPerformanceCounter(&counter)) {
        return std::uint64_t{GetTickCount()} * 1000;
    }
    const auto perSecond = static_cast<std::uint64_t>(frequency.QuadPart);
    const auto ticks = static_cast<std::uint64_t>(counter.QuadPart);
    // In two steps, so that a counter of many days does not overflow.
    return ticks / perSecond * 1000000 + ticks % perSecond * 1000000 / perSecond;
}

std::uint64_t Win32System::MicrosecondsSinceProcessStart() {
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    GetSystemTimeAsFileTime(&now);
    const auto hundredNs = [](const FILETIME& time) {
        return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
    };
    // A clock set back meanwhile leaves nothing to tell.
    if (hundredNs(now) < hundredNs(created)) return 0;
    return (hundredNs(now) - hundredNs(created)) / 10;
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
