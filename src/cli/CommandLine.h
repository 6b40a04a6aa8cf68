// The scripted console: runs one command of the command line against the
// machine with the console's own procedures, printing to the standard
// streams, and returns the exit code. No window and no box is ever shown.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include "cli/TextOutput.h"

#include "console/ConsoleServices.h"

namespace hw::cli {

struct CliServices {
    ProcedureServices procedures;
    TextOutput& out;
    TextOutput& err;
    // Where a long step shows its progress: the error stream when it is a
    // terminal; null: nowhere.
    TextOutput* progress;
    // The program's name and version, for --version.
    std::string_view version;
};

// args: the arguments after the program's name.
int RunCommandLine(std::span<const std::string> args, const CliServices& services);

}  // namespace hw::cli
