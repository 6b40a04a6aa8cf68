// The settings file as the console reads it: through the system's section
// read, except a file saved with a UTF-8 byte-order mark. The system's read
// takes the mark for part of the first line, so the first section's header
// is not seen and that section reads empty; such a file is read whole and
// its sections are found in the text after the mark.
#pragma once

#include <optional>
#include <string>

#include "platform/files/FileSystem.h"
#include "platform/files/SettingsFile.h"

namespace hw {

class MarkedSettingsFile final : public SettingsFile {
  public:
    MarkedSettingsFile(SettingsFile& system, FileSystem& files) : system(system), files(files) {}

    std::string ReadSection(const std::string& path, const std::string& section,
                            std::size_t capacity) override;

  private:
    // The file's text after the mark; nothing when the file has no mark or
    // cannot be read.
    std::optional<std::string> TextAfterMark(const std::string& path);

    SettingsFile& system;
    FileSystem& files;
};

}  // namespace hw
