// The running program's file, from the module file name.
#pragma once

#include "platform/files/ProgramFile.h"

namespace hw {

class Win32ProgramFile final : public ProgramFile {
  public:
    std::string Path() override;
};

}  // namespace hw
