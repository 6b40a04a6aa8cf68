// The simulated PC's per-user settings: named texts kept in memory for as
// long as the simulated PC lives.
#pragma once

#include <map>
#include <string>

#include "platform/files/UserSettings.h"

namespace hw {

class SimUserSettings final : public UserSettings {
  public:
    std::optional<std::string> Read(const std::string& name) override {
        const auto found = texts.find(name);
        if (found == texts.end()) return std::nullopt;
        return found->second;
    }
    bool Write(const std::string& name, const std::string& text) override {
        texts[name] = text;
        return true;
    }

    std::map<std::string, std::string> texts;
};

}  // namespace hw
