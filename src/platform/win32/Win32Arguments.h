// The program's command-line arguments after its name, in UTF-8: read from
// the wide command line, so that a file name outside the ANSI code page
// arrives whole.
#pragma once

#include <string>
#include <vector>

namespace hw {

std::vector<std::string> Win32Arguments();

}  // namespace hw
