// The program name and the settings-file path, both derived from the path of
// the program file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hw {

struct ProgramPaths {
    // The program file's full path.
    std::string modulePath;
    // The file name up to its first dot ("Hexwarden" for C:\Tools\Hexwarden.exe).
    std::string programName;
    // The program file's path with everything after that dot replaced by
    // "INI" (C:\Tools\Hexwarden.INI). A file name without a dot gets ".INI"
    // appended and is the program name whole.
    std::string settingsPath;
};

// Nullopt when the path holds no backslash. The path is UTF-8, in which the
// bytes of '\' and '.' stand for those characters only and never for part of
// another character, so it is taken apart byte by byte.
std::optional<ProgramPaths> SplitProgramPath(std::string_view modulePath);

}  // namespace hw
