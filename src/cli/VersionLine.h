// The line --version prints: the program's name and its file version.
#pragma once

#include <string>

#include "platform/files/VersionBlocks.h"

namespace hw::cli {

// "<program name> <file version>"; the name alone when the program file
// carries no version.
std::string VersionLine(VersionBlocks& blocks, const std::string& modulePath);

}  // namespace hw::cli
