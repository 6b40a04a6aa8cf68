// A second process for the named-lock tests:
//   lock_holder <mutex name> <held event> <end event>
// takes the named mutex, sets the "held" event, and keeps the mutex until the
// "end" event is set; then releases it and exits with 0. Exits with 1 when
// any step fails, with 2 on wrong arguments. The test creates both events.
#include <windows.h>
// This needs <windows.h> first.
#include <shellapi.h>

#include <memory>

#include "OwnedHandle.h"

namespace {

// Long enough for a slow Wine start, short enough that a test that never
// sets the event cannot leave the holder behind for long.
constexpr DWORD kLongestHoldMs = 60000;

}  // namespace

// The names are read wide: a mutex name may hold letters of no code page.
int main() {
    int argc = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> argv(
        CommandLineToArgvW(GetCommandLineW(), &argc), &LocalFree);
    if (!argv || argc != 4) return 2;
    const LPWSTR* args = argv.get();
    const hw::test::OwnedHandle mutex(CreateMutexW(nullptr, FALSE, args[1]));
    const hw::test::OwnedHandle held(OpenEventW(EVENT_MODIFY_STATE, FALSE, args[2]));
    const hw::test::OwnedHandle end(OpenEventW(SYNCHRONIZE, FALSE, args[3]));
    if (!mutex || !held || !end) return 1;
    if (WaitForSingleObject(mutex.get(), kLongestHoldMs) != WAIT_OBJECT_0) return 1;
    SetEvent(held.get());
    const DWORD ended = WaitForSingleObject(end.get(), kLongestHoldMs);
    ReleaseMutex(mutex.get());
    return ended == WAIT_OBJECT_0 ? 0 : 1;
}
