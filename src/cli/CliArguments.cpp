#include "cli/CliArguments.h"

#include <array>

namespace hw::cli {

namespace {

struct CommandName {
    std::string_view name;
    Command command;
};

constexpr std::array<CommandName, 6> kCommands = {{
    {"list", Command::List},
    {"status", Command::Status},
    {"report", Command::Report},
    {"backup", Command::Backup},
    {"restore", Command::Restore},
    {"bundle", Command::Bundle},
}};

std::optional<Command> FindCommand(std::string_view name) {
    for (const CommandName& entry : kCommands) {
        if (entry.name == name) return entry.command;
    }
    return std::nullopt;
}

// What each command takes besides --machine.
bool TakesOutput(Command c) {
    return c == Command::Report || c == Command::Backup || c == Command::Bundle;
}
bool TakesJson(Command c) {
    return c == Command::List || c == Command::Status;
}

// The checks that need the whole line: what a command requires and refuses.
bool CheckCommand(const Arguments& a, bool sawOutput, std::string& error) {
    if (sawOutput && !TakesOutput(a.command)) {
        error = "-o is not an option of this command";
    } else if (a.json && !TakesJson(a.command)) {
        error = "--json is an option of list and status only";
    } else if (a.yes && a.command != Command::Restore) {
        error = "--yes is an option of restore only";
    } else if ((a.command == Command::Backup || a.command == Command::Bundle) && a.output.empty()) {
        error = "this command needs -o FILE";
    } else if (a.command == Command::Restore && a.input.empty()) {
        error = "restore needs the file to restore";
    } else {
        return true;
    }
    return false;
}

}  // namespace

namespace {

// Reads the arguments one at a time into what the line asks for.
class LineReader {
  public:
    LineReader(std::span<const std::string> args, std::string& error) : args(args), error(error) {}

    std::optional<Arguments> Read() {
        for (i = 0; i < args.size(); ++i) {
            const std::string& arg = args[i];
            if (arg == "--help" || arg == "-h" || arg == "--version") {
                Arguments only;
                only.command = arg == "--version" ? Command::Version : Command::Help;
                return only;
            }
            const bool read = !arg.empty() && arg[0] == '-' ? Option(arg) : Word(arg);
            if (!read) return std::nullopt;
        }
        if (!sawCommand) {
            error = "no command given";
            return std::nullopt;
        }
        if (!CheckCommand(a, sawOutput, error)) return std::nullopt;
        return a;
    }

  private:
    bool Option(const std::string& arg) {
        if (arg == "--machine") return Value(a.machine);
        if (arg == "-o") return sawOutput = Value(a.output);
        if (arg == "--yes") return a.yes = true;
        if (arg == "--json") return a.json = true;
        error = "unknown option " + arg;
        return false;
    }

    // The command, then restore's file.
    bool Word(const std::string& arg) {
        if (!sawCommand) {
            const auto command = FindCommand(arg);
            if (!command) error = "unknown command " + arg;
            a.command = command.value_or(Command::Help);
            return sawCommand = command.has_value();
        }
        if (a.command == Command::Restore && a.input.empty()) {
            a.input = arg;
            return true;
        }
        error = FindCommand(arg) ? "one command at a time" : "unexpected argument " + arg;
        return false;
    }

    // The option's value, the next argument.
    bool Value(std::string& into) {
        if (i + 1 >= args.size() || args[i + 1].empty()) {
            error = args[i] + " needs a value";
            return false;
        }
        into = args[++i];
        return true;
    }

    std::span<const std::string> args;
    std::string& error;
    std::size_t i = 0;
    Arguments a;
    bool sawCommand = false;
    bool sawOutput = false;
};

}  // namespace

std::optional<Arguments> ParseArguments(std::span<const std::string> args, std::string& error) {
    return LineReader(args, error).Read();
}

std::string_view UsageText() {
    return "Usage: HexwardenCli COMMAND [--machine QUEUE] [options]\n"
           "\n"
           "Commands:\n"
           "  list [--json]          every machine found, the one used marked with *\n"
           "  status [--json]        status word, sensors and spindle readout\n"
           "  report [-o FILE]       the service report, to stdout or FILE\n"
           "  backup -o FILE         the parameter block, saved to FILE\n"
           "  restore FILE [--yes]   the verified restore of a parameter block;\n"
           "                         without --yes it only tells what would change\n"
           "  bundle -o FILE.zip     the service bundle\n"
           "  --help, --version\n"
           "\n"
           "Exit codes: 0 done; 1 the machine refused or failed; 2 usage error;\n"
           "3 no machine found or not connected; 4 file error; 5 restore not confirmed.\n";
}

}  // namespace hw::cli
