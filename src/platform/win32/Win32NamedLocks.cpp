#include "platform/win32/Win32NamedLocks.h"

#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Utf8.h"

namespace hw {

OsHandle Win32NamedLocks::Create(const std::string& name, bool& accessDenied) {
    // Opens the existing mutex of that name when another thread or process
    // created it first; a failed call gives a null handle.
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, Widen(name).c_str());
    accessDenied = mutex == nullptr && GetLastError() == ERROR_ACCESS_DENIED;
    return ToOsHandle(mutex);
}

OsHandle Win32NamedLocks::OpenToWait(const std::string& name) {
    return ToOsHandle(OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, Widen(name).c_str()));
}

WaitOutcome Win32NamedLocks::Wait(OsHandle lock, std::uint32_t timeoutMs) {
    switch (WaitForSingleObject(ToHandle(lock), timeoutMs)) {
        case WAIT_OBJECT_0:
            return WaitOutcome::Acquired;
        case WAIT_TIMEOUT:
            return WaitOutcome::TimedOut;
        case WAIT_ABANDONED:
            return WaitOutcome::Abandoned;
        default:
            return WaitOutcome::Failed;
    }
}

void Win32NamedLocks::Release(OsHandle lock) {
    // Fails harmlessly when the calling thread does not own the mutex.
    ReleaseMutex(ToHandle(lock));
}

void Win32NamedLocks::Close(OsHandle lock) {
    CloseHandle(ToHandle(lock));
}

}  // namespace hw
