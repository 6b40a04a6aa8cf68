#include "console/ProgramPath.h"

namespace hw {

std::optional<ProgramPaths> SplitProgramPath(std::string_view modulePath) {
    const std::size_t slash = modulePath.rfind('\\');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::size_t dot = modulePath.find('.', slash + 1);
    ProgramPaths paths;
    paths.modulePath = modulePath;
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
