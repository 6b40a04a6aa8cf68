// The named system-wide lock (a named mutex) that serialises device exchanges
// across threads and processes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/device/Handles.h"

namespace hw {

enum class WaitOutcome { Acquired, TimedOut, Abandoned, Failed };

class NamedLocks {
  public:
    virtual ~NamedLocks() = default;

    // Creates or opens the mutex of that name, not initially owned, with full
    // access. Returns kNullHandle on failure; accessDenied then tells whether
    // the mutex exists but refuses full access to the caller (an elevated
    // program or a service made it first). Must not allocate on the heap: it
    // runs on every transaction.
    virtual OsHandle Create(const std::string& name, bool& accessDenied) = 0;

    // Opens the existing mutex of that name with only the rights to wait for
    // it and release it. Returns kNullHandle on failure.
    virtual OsHandle OpenToWait(const std::string& name) = 0;

    // Waits up to timeoutMs for ownership.
    virtual WaitOutcome Wait(OsHandle lock, std::uint32_t timeoutMs) = 0;

    // Releases ownership; without effect when the caller does not own it.
    virtual void Release(OsHandle lock) = 0;

    // Closes the handle.
    virtual void Close(OsHandle lock) = 0;
};

}  // namespace hw
