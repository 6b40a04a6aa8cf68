// What the program remembers for the user who runs it, between runs: named
// texts under HKEY_CURRENT_USER\Software\Hexwarden.
#pragma once

#include <optional>
#include <string>

namespace hw {

class UserSettings {
  public:
    virtual ~UserSettings() = default;

    // The text stored under name; nullopt when there is none or it cannot be
    // read.
    virtual std::optional<std::string> Read(const std::string& name) = 0;
    // Stores text under name, creating the program's key when needed. False
    // when it could not be stored.
    virtual bool Write(const std::string& name, const std::string& text) = 0;
};

}  // namespace hw
