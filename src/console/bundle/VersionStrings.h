// The strings the console shows from a file's version block: its version,
// its copyright line and its internal name, read under the block's first
// translation.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/files/VersionBlocks.h"

namespace hw {

struct VersionStrings {
    std::optional<std::string> fileVersion;
    std::optional<std::string> legalCopyright;
    std::optional<std::string> internalName;
};

// The key path of a string value: "\StringFileInfo\" with the language and
// code page as four lower-case hex digits each, '\' and the name.
std::string StringKeyPath(const VersionTranslation& translation, std::string_view name);

// Reads "FileVersion", "LegalCopyright" and "InternalName" under the first
// translation of the version block of the file at path. nullopt when the
// file has no version block; every string absent when the block cannot be
// read or its translation table is empty.
std::optional<VersionStrings> ReadVersionStrings(VersionBlocks& blocks, const std::string& path);

}  // namespace hw
