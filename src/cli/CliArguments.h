// The command line of the scripted console: one command per run, its file
// and options, read from the program's arguments.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace hw::cli {

enum class Command { List, Status, Report, Backup, Restore, Bundle, Help, Version };

struct Arguments {
    Command command = Command::Help;
    // --machine QUEUE; empty: the machine the console would connect to.
    std::string machine;
    // -o FILE (report, backup, bundle); empty: none.
    std::string output;
    // restore FILE.
    std::string input;
    // --yes (restore): the write confirmed.
    bool yes = false;
    // --json (list, status).
    bool json = false;
};

// The arguments after the program's name. On a usage error, nullopt with
// error set to one line that says what is wrong.
std::optional<Arguments> ParseArguments(std::span<const std::string> args, std::string& error);

// The usage text --help prints.
std::string_view UsageText();

}  // namespace hw::cli
