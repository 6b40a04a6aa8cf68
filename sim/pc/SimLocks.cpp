#include "sim/pc/SimLocks.h"

#include <algorithm>
#include <cstring>

namespace hw {

int SimLocks::Find(const std::string& name) const {
    for (std::size_t i = 0; i < kMaxMutexes; ++i) {
        if (mutexes_[i].used && name == mutexes_[i].name) return static_cast<int>(i);
    }
    return -1;
}

OsHandle SimLocks::AddHandle(int index, const std::string& name) {
    for (std::size_t i = 0; i < kMaxMutexes && index < 0; ++i) {
        if (!mutexes_[i].used) index = static_cast<int>(i);
    }
    if (index < 0) return kNullHandle;
    for (std::size_t h = 0; h < kMaxHandles; ++h) {
        if (handles_[h] != 0) continue;
        Mutex& m = mutexes_[static_cast<std::size_t>(index)];
        if (!m.used) {
            m.used = true;
            std::memcpy(m.name, name.c_str(), name.size() + 1);
        }
        ++m.handles;
        handles_[h] = index + 1;
        return static_cast<OsHandle>(h + 1);
    }
    return kNullHandle;
}

OsHandle SimLocks::Create(const std::string& name, bool& accessDenied) {
    std::lock_guard<std::mutex> lock(guard_);
    accessDenied = false;
    if (name.size() > kMaxName) return kNullHandle;
    const int index = Find(name);
    if (index >= 0 && mutexes_[static_cast<std::size_t>(index)].restricted) {
        accessDenied = true;
        return kNullHandle;
    }
    return AddHandle(index, name);
}

OsHandle SimLocks::OpenToWait(const std::string& name) {
    std::lock_guard<std::mutex> lock(guard_);
    const int index = Find(name);
    return index < 0 ? kNullHandle : AddHandle(index, name);
}

OsHandle SimLocks::CreateRestricted(const std::string& name) {
    std::lock_guard<std::mutex> lock(guard_);
    if (name.size() > kMaxName || Find(name) >= 0) return kNullHandle;
    const OsHandle handle = AddHandle(-1, name);
    if (handle != kNullHandle)
        mutexes_[static_cast<std::size_t>(MutexOf(handle))].restricted = true;
    return handle;
}

int SimLocks::MutexOf(OsHandle lock) const {
    if (lock == kNullHandle || lock > kMaxHandles) return -1;
    return handles_[lock - 1] - 1;
}

WaitOutcome SimLocks::Wait(OsHandle lock, std::uint32_t timeoutMs) {
    std::unique_lock<std::mutex> hold(guard_);
    const int index = MutexOf(lock);
    if (index < 0) return WaitOutcome::Failed;
    Mutex& m = mutexes_[static_cast<std::size_t>(index)];
    const auto me = std::this_thread::get_id();
    auto available = [&m, me] { return m.owner == std::thread::id() || m.owner == me; };
    if (!available()) {
        // Only a wait that has to wait reads the clock.
        const std::uint64_t deadline = clock_.NowMs() + timeoutMs;
        while (!available()) {
            const std::uint64_t now = clock_.NowMs();
            if (now >= deadline) return WaitOutcome::TimedOut;
            const auto slice =
                static_cast<std::uint32_t>(std::min<std::uint64_t>(deadline - now, kWaitSliceMs));
            clock_.WaitFor(released_, hold, slice);
            // The handle may have been closed by another thread meanwhile.
            if (MutexOf(lock) != index) return WaitOutcome::Failed;
        }
    }
    m.owner = me;
    ++m.depth;
    return WaitOutcome::Acquired;
}

void SimLocks::Release(OsHandle lock) {
    std::lock_guard<std::mutex> hold(guard_);
    const int index = MutexOf(lock);
    if (index < 0) return;
    Mutex& m = mutexes_[static_cast<std::size_t>(index)];
    if (m.owner != std::this_thread::get_id() || m.depth == 0) return;
    if (--m.depth == 0) {
        m.owner = std::thread::id();
        released_.notify_all();
    }
}

void SimLocks::Close(OsHandle lock) {
    std::lock_guard<std::mutex> hold(guard_);
    const int index = MutexOf(lock);
    if (index < 0) return;
    handles_[lock - 1] = 0;
    Mutex& m = mutexes_[static_cast<std::size_t>(index)];
    if (--m.handles == 0) m = Mutex{};
}

std::size_t SimLocks::OpenHandles() const {
    std::lock_guard<std::mutex> hold(guard_);
    std::size_t open = 0;
    for (int h : handles_) open += h != 0 ? 1 : 0;
    return open;
}

}  // namespace hw
