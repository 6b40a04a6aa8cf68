// The program file a console under test takes its name and settings path from:
// the path given, which a test may change while the console is down.
#pragma once

#include <string>
#include <utility>

#include "platform/files/ProgramFile.h"

namespace hw::test {

class FixedProgramFile final : public ProgramFile {
  public:
    explicit FixedProgramFile(std::string at = "C:\\Tools\\Hexwarden.exe") : path(std::move(at)) {}
    std::string Path() override { return path; }

    std::string path;
};

}  // namespace hw::test
