// The program name and the settings-file path, both derived from the path of
// the program file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Text.h"

namespace hw {

struct ProgramPaths {
    // The file name up to its first dot ("Hexwarden" for C:\Tools\Hexwarden.exe).
    std::string programName;
    // The program file's path with everything after that dot replaced by
    // "INI" (C:\Tools\Hexwarden.INI). A file name without a dot gets ".INI"
    // appended and is the program name whole.
    std::string settingsPath;
};

// Nullopt when the path holds no backslash. The path is taken apart by the
// characters of the ANSI code page: a trail byte of a double-byte character
// is never a separator.
std::optional<ProgramPaths> SplitProgramPath(std::string_view modulePath, Text& text);

}  // namespace hw
