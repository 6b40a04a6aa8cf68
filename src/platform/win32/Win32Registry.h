// Read access to the registry below HKEY_LOCAL_MACHINE on Win32.
#pragma once

#include "platform/device/Registry.h"

namespace hw {

class Win32Registry final : public Registry {
  public:
    bool OpenKey(OsHandle parent, const std::string& subkey, OsHandle& key) override;
    EnumKeyOutcome EnumSubkey(OsHandle key, std::uint32_t index, std::string& name) override;
    bool QueryValue(OsHandle key, const std::string& valueName, std::string& value) override;
    void CloseKey(OsHandle key) override;
};

}  // namespace hw
