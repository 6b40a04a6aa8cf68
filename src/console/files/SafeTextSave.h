// Writes a text to the file the technician chose, the safe way: a failure
// is reported as a warning and leaves no half file behind, and a file that
// was there stays as it was.
#pragma once

#include <string>
#include <string_view>

#include "console/Reporter.h"
#include "platform/files/FileSystem.h"

namespace hw {

// True when the text was written and the file is in place.
bool SaveTextSafely(Reporter& reporter, FileSystem& files, const std::string& path,
                    std::string_view text);

}  // namespace hw
