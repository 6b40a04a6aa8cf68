// The technician's manual: one HTML page beside the program file, opened in
// the default browser by F1.
#pragma once

#include <string_view>

#include "console/ConsoleServices.h"

namespace hw {

inline constexpr std::string_view kManualFileName = "Hexwarden.html";

// Opens the manual, kManualFileName in the program file's folder, in the
// default browser, owned by the main window. When the page is missing or
// cannot be opened, a box names the path where it was expected.
void OpenManual(const ConsoleServices& services);

}  // namespace hw
