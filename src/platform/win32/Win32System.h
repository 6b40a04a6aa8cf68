// The tick counter, sleep, the local time and the OS version query on Win32.
#pragma once

#include "platform/device/System.h"

namespace hw {

class Win32System final : public System {
  public:
    std::uint32_t TickCount() override;
    void Sleep(std::uint32_t ms) override;
    LocalTime Now() override;
    bool QueryPlatformId(std::uint32_t& platformId) override;
    bool QueryOsVersion(OsVersion& version) override;
};

}  // namespace hw
