// The millisecond tick counter, a finer clock, sleep, the local date and time and the OS
// platform id.
#pragma once

#include <cstdint>

namespace hw {

// Platform id of the Windows 95/98/Me family; any other id is the NT family.
inline constexpr std::uint32_t kPlatformWin32Windows = 1;
inline constexpr std::uint32_t kPlatformWin32Nt = 2;

// The OS version the version query reports.
struct OsVersion {
    std::uint32_t platformId = 0;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
};

// A moment on the PC's local clock, to the second.
struct LocalTime {
    int year = 0;    // e.g. 2026
    int month = 0;   // 1 to 12
    int day = 0;     // 1 to 31
    int hour = 0;    // 0 to 23
    int minute = 0;  // 0 to 59
    int second = 0;  // 0 to 59
};

class System {
  public:
    virtual ~System() = default;

    // Milliseconds since start-up; wraps modulo 2^32. On Windows it moves in
    // steps of about 16 ms.
    virtual std::uint32_t TickCount() = 0;
    // Microseconds on the finest steady clock the PC has, from some moment
    // before: for timing steps shorter than the tick counter's steps.
    virtual std::uint64_t MicrosecondCount() = 0;

    // Suspends the calling thread for at least ms milliseconds.
    virtual void Sleep(std::uint32_t ms) = 0;

    // The date and time now on the PC's clock, in its local time zone.
    virtual LocalTime Now() = 0;

    // The platform id of the OS version query. False when the query fails.
    virtual bool QueryPlatformId(std::uint32_t& platformId) = 0;

    // The whole answer of the same query: platform id, version and build
    // number. False when the query fails.
    virtual bool QueryOsVersion(OsVersion& version) = 0;
};

}  // namespace hw
