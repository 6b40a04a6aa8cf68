// The program file a console under test takes its name and settings path from.
#pragma once

#include <string>

#include "platform/ProgramFile.h"

namespace hw::test {

class FixedProgramFile final : public ProgramFile {
  public:
    std::string Path() override { return "C:\\Tools\\Hexwarden.exe"; }
};

}  // namespace hw::test
