// The GNU runtime's handler for an exception nobody caught prints its type
// through the C++ demangler, which alone weighs about 45 KB in a static
// program. The programs end the same way without it: abort, which Windows
// reports as a crash with the program's own dump and event log entry.
// Linked into the MinGW builds only; the handler's name is that runtime's.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

}  // namespace __gnu_cxx
