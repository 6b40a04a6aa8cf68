#include "console/ProgramPath.h"

namespace hw {

namespace {

struct Separators {
    std::size_t lastSlash = std::string_view::npos;
    std::size_t firstDotAfterSlash = std::string_view::npos;
};

// Finds the separators character by character: the byte after a lead byte is
// the trail byte of the same character and is never a separator, even when
// its value is that of '\' or '.'.
Separators FindSeparators(std::string_view path, Text& text) {
    Separators found;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (c == '\\') {
            found.lastSlash = i;
            found.firstDotAfterSlash = std::string_view::npos;
        } else if (c == '.' && found.firstDotAfterSlash == std::string_view::npos) {
            found.firstDotAfterSlash = i;
        } else if (text.IsLeadByte(static_cast<std::uint8_t>(c))) {
            ++i;
        }
    }
    return found;
}

}  // namespace

std::optional<ProgramPaths> SplitProgramPath(std::string_view modulePath, Text& text) {
    const Separators found = FindSeparators(modulePath, text);
    if (found.lastSlash == std::string_view::npos) return std::nullopt;
    const std::size_t slash = found.lastSlash;
    const std::size_t dot = found.firstDotAfterSlash;
    ProgramPaths paths;
    if (dot == std::string_view::npos) {
        paths.programName = modulePath.substr(slash + 1);
        paths.settingsPath = std::string(modulePath) + ".INI";
    } else {
        paths.programName = modulePath.substr(slash + 1, dot - slash - 1);
        paths.settingsPath = std::string(modulePath.substr(0, dot + 1)) + "INI";
    }
    return paths;
}

}  // namespace hw
