// The settings files of the simulated PC: INI texts held in memory by path and
// read section by section as the system's section read does (see SettingsFile).
#pragma once

#include <map>
#include <mutex>
#include <string>

#include "platform/files/SettingsFile.h"

namespace hw {

class SimSettingsFile final : public SettingsFile {
  public:
    // Makes (or replaces) the file at path with this INI text.
    void Put(const std::string& path, const std::string& text);

    std::string ReadSection(const std::string& path, const std::string& section,
                            std::size_t capacity) override;

  private:
    std::mutex mutex_;
    std::map<std::string, std::string> files_;
};

}  // namespace hw
