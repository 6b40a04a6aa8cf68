// A second process for the named-lock tests:
//   lock_holder <mutex name> <held event> <end event>
// takes the named mutex, sets the "held" event, and keeps the mutex until the
// "end" event is set; then releases it and exits with 0. Exits with 1 when
// any step fails, with 2 on wrong arguments. The test creates both events.
#include <windows.h>

#include "OwnedHandle.h"

namespace {

// Long enough for a slow Wine start, short enough that a test that never
// sets the event cannot leave the holder behind for long.
constexpr DWORD kLongestHoldMs = 60000;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    const hw::test::OwnedHandle mutex(CreateMutexA(nullptr, FALSE, argv[1]));
    const hw::test::OwnedHandle held(OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]));
    const hw::test::OwnedHandle end(OpenEventA(SYNCHRONIZE, FALSE, argv[3]));
    if (!mutex || !held || !end) return 1;
    if (WaitForSingleObject(mutex.get(), kLongestHoldMs) != WAIT_OBJECT_0) return 1;
    SetEvent(held.get());
    const DWORD ended = WaitForSingleObject(end.get(), kLongestHoldMs);
    ReleaseMutex(mutex.get());
    return ended == WAIT_OBJECT_0 ? 0 : 1;
}
