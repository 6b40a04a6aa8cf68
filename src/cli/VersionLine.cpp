#include "cli/VersionLine.h"

#include "console/ProgramPath.h"
#include "console/bundle/VersionStrings.h"

namespace hw::cli {

std::string VersionLine(VersionBlocks& blocks, const std::string& modulePath) {
    const auto paths = SplitProgramPath(modulePath);
    std::string line = paths ? paths->programName : modulePath;
    const auto strings = ReadVersionStrings(blocks, modulePath);
    if (strings && strings->fileVersion) line += " " + *strings->fileVersion;
    return line;
}

}  // namespace hw::cli
