// Conversions between the opaque OsHandle values of the platform interfaces
// and the Win32 handle types. Included only by the Win32 sources.
#pragma once

#include <windows.h>

#include "platform/device/Handles.h"

namespace hw {

inline HANDLE ToHandle(OsHandle handle) {
    return reinterpret_cast<HANDLE>(handle);
}

inline OsHandle ToOsHandle(HANDLE handle) {
    return reinterpret_cast<OsHandle>(handle);
}

}  // namespace hw
