// Named system-wide mutexes of the simulated PC, with the OS's semantics:
// shared by name, owned by one thread at a time, re-entrant for the owner,
// released only by it. Fixed tables, so creating one allocates nothing. Waits
// are timed on the simulator's clock, so a test clock makes a time-out
// deterministic and quick, while a release still wakes a waiter at once.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "platform/device/NamedLocks.h"
#include "sim/pc/SimClock.h"

namespace hw {

class SimLocks final : public NamedLocks {
  public:
    static constexpr std::size_t kMaxMutexes = 16;
    static constexpr std::size_t kMaxHandles = 64;
    static constexpr std::size_t kMaxName = 260;
    // Clock time a waiter lets pass before it looks at its deadline again.
    static constexpr std::uint32_t kWaitSliceMs = 100;

    explicit SimLocks(SimClock& clock) : clock_(clock) {}

    OsHandle Create(const std::string& name, bool& accessDenied) override;
    OsHandle OpenToWait(const std::string& name) override;

    // Creates the mutex as an elevated program or a service does: with an
    // access list that lets others wait for it and release it but refuses
    // them full access. Returns that program's handle, or kNullHandle.
    OsHandle CreateRestricted(const std::string& name);
    WaitOutcome Wait(OsHandle lock, std::uint32_t timeoutMs) override;
    void Release(OsHandle lock) override;
    void Close(OsHandle lock) override;

    // Handles created and not yet closed.
    std::size_t OpenHandles() const;

  private:
    struct Mutex {
        bool used = false;
        char name[kMaxName + 1] = {};
        int handles = 0;
        bool restricted = false;  // refuses full access to other openers
        std::thread::id owner;
        int depth = 0;
    };

    // Index of the mutex of that name, or -1. Callers hold guard_.
    int Find(const std::string& name) const;
    // A new handle to the mutex at index, made when not yet used, or
    // kNullHandle when the tables are full. Callers hold guard_.
    OsHandle AddHandle(int index, const std::string& name);
    // Index of the mutex behind a handle, or -1.
    int MutexOf(OsHandle lock) const;

    SimClock& clock_;
    mutable std::mutex guard_;
    std::condition_variable released_;
    std::array<Mutex, kMaxMutexes> mutexes_{};
    std::array<int, kMaxHandles> handles_{};  // mutex index + 1; 0 = free
};

}  // namespace hw
