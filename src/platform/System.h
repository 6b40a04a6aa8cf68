// The millisecond tick counter, sleep and the OS platform id.
#pragma once

#include <cstdint>

namespace hw {

// Platform id of the Windows 95/98/Me family; any other id is the NT family.
inline constexpr std::uint32_t kPlatformWin32Windows = 1;
inline constexpr std::uint32_t kPlatformWin32Nt = 2;

class System {
  public:
    virtual ~System() = default;

    // Milliseconds since start-up; wraps modulo 2^32.
    virtual std::uint32_t TickCount() = 0;

    // Suspends the calling thread for at least ms milliseconds.
    virtual void Sleep(std::uint32_t ms) = 0;

    // The platform id of the OS version query. False when the query fails.
    virtual bool QueryPlatformId(std::uint32_t& platformId) = 0;
};

}  // namespace hw
