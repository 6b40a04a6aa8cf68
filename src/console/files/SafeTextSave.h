// Writes a text to the file the technician chose, the safe way: a failure
// shows the file-error box and leaves no half file behind, and a file that
// was there stays as it was.
#pragma once

#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "ui/Application.h"

namespace hw {

// True when the text was written and the file is in place.
bool SaveTextSafely(ui::Application& app, FileSystem& files, const std::string& path,
                    std::string_view text);

}  // namespace hw
