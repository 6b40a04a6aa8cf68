// The program file a console under test takes its name and settings path from.
#pragma once

#include <string>
#include <utility>

#include "platform/ProgramFile.h"

namespace hw::test {

class FixedProgramFile final : public ProgramFile {
  public:
    explicit FixedProgramFile(std::string path = "C:\\Tools\\Hexwarden.exe")
        : path(std::move(path)) {}
    std::string Path() override { return path; }

    std::string path;
};

}  // namespace hw::test
