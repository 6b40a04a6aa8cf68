// The running program's own file.
#pragma once

#include <string>

namespace hw {

// Longest path the console keeps for the program file and its settings file.
inline constexpr std::size_t kMaxPath = 260;

class ProgramFile {
  public:
    virtual ~ProgramFile() = default;

    // The full path of the running program file, at most kMaxPath - 1
    // characters; empty when it cannot be had.
    virtual std::string Path() = 0;
};

}  // namespace hw
