// The user's settings in the registry, HKEY_CURRENT_USER\Software\Hexwarden,
// as UTF-8 texts stored through the wide calls.
#pragma once

#include "platform/files/UserSettings.h"

namespace hw {

class Win32UserSettings final : public UserSettings {
  public:
    std::optional<std::string> Read(const std::string& name) override;
    bool Write(const std::string& name, const std::string& text) override;
};

}  // namespace hw
