// The named system-wide lock on Win32: a named mutex.
#pragma once

#include "platform/device/NamedLocks.h"

namespace hw {

class Win32NamedLocks final : public NamedLocks {
  public:
    OsHandle Create(const std::string& name, bool& accessDenied) override;
    OsHandle OpenToWait(const std::string& name) override;
    WaitOutcome Wait(OsHandle lock, std::uint32_t timeoutMs) override;
    void Release(OsHandle lock) override;
    void Close(OsHandle lock) override;
};

}  // namespace hw
