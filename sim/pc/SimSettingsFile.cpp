#include "sim/pc/SimSettingsFile.h"

#include "platform/files/IniText.h"

namespace hw {

void SimSettingsFile::Put(const std::string& path, const std::string& text) {
    const std::lock_guard lock(mutex_);
    files_[path] = text;
}

std::string SimSettingsFile::ReadSection(const std::string& path, const std::string& section,
                                         std::size_t capacity) {
    const std::lock_guard lock(mutex_);
    const auto file = files_.find(path);
    if (file == files_.end()) return {};
    return ReadIniSection(file->second, section, capacity);
}

}  // namespace hw
