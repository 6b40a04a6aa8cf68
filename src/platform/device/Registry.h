// Read access to the registry below HKEY_LOCAL_MACHINE.
#pragma once

#include <cstdint>
#include <string>

#include "platform/device/Handles.h"

namespace hw {

// The handle that stands for HKEY_LOCAL_MACHINE itself; never closed.
inline constexpr OsHandle kLocalMachineKey = 1;

// The longest subkey name and value text, in characters: both are read into
// buffers of 256 characters that keep their terminating NUL.
inline constexpr std::size_t kRegistryTextMax = 255;

enum class EnumKeyOutcome { Found, NoMoreItems, Failed };

class Registry {
  public:
    virtual ~Registry() = default;

    // Opens parent\subkey for reading. False on failure (key untouched).
    virtual bool OpenKey(OsHandle parent, const std::string& subkey, OsHandle& key) = 0;

    // The subkey at index (from 0) into name, at most kRegistryTextMax
    // characters. NoMoreItems past the last subkey.
    virtual EnumKeyOutcome EnumSubkey(OsHandle key, std::uint32_t index, std::string& name) = 0;

    // A value of the key as text (UTF-8), whatever its registry type: a value
    // of another type is its bytes. Cut at its first NUL. False when it cannot
    // be read, and when it does not fit the buffer or its text runs past
    // kRegistryTextMax characters: such a value is never used cut short
    // (value untouched on false).
    virtual bool QueryValue(OsHandle key, const std::string& valueName, std::string& value) = 0;

    virtual void CloseKey(OsHandle key) = 0;
};

}  // namespace hw
