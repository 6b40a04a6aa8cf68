// The tick counter, the performance counter, the process's age, sleep, the local time and the OS
// version query on Win32.
#pragma once

#include "platform/device/System.h"

namespace hw {

class Win32System final : public System {
  public:
    std::uint32_t TickCount() override;
    std::uint64_t MicrosecondCount() override;
    // Microseconds since Windows created this process, on the system time;
    // 0 when it does not tell.
    std::uint64_t MicrosecondsSinceProcessStart();
    void Sleep(std::uint32_t ms) override;
    LocalTime Now() override;
    bool QueryPlatformId(std::uint32_t& platformId) override;
    bool QueryOsVersion(OsVersion& version) override;
};

}  // namespace hw
