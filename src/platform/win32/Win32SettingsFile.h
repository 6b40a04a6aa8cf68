// Sections of INI files read with the system's private-profile section read.
#pragma once

#include "platform/files/SettingsFile.h"

namespace hw {

class Win32SettingsFile final : public SettingsFile {
  public:
    std::string ReadSection(const std::string& path, const std::string& section,
                            std::size_t capacity) override;
};

}  // namespace hw
