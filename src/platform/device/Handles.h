// Opaque OS handle values shared by the platform interfaces.
#pragma once

#include <cstdint>

namespace hw {

// A kernel object handle (device file, mutex). The value is the OS handle
// itself on Windows and an index in the simulated environment.
using OsHandle = std::uintptr_t;

// The value a failed device open returns (INVALID_HANDLE_VALUE).
inline constexpr OsHandle kInvalidHandle = ~static_cast<OsHandle>(0);

// The value a failed mutex creation returns (a null handle).
inline constexpr OsHandle kNullHandle = 0;

}  // namespace hw
