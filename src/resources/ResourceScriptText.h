// The text of the program's resource script (Hexwarden.rc), built into the
// program for the headless window system.
#pragma once

#include <string_view>

namespace hw {

std::string_view ResourceScriptText();

}  // namespace hw
