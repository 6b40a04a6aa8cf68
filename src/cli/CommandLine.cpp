#include "cli/CommandLine.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "cli/CliArguments.h"
#include "cli/Json.h"
#include "cli/MachineStatus.h"
#include "cli/TextReporter.h"
#include "console/MachineSession.h"
#include "console/ProcedureContext.h"
#include "console/bundle/ActivityLog.h"
#include "console/bundle/ServiceBundleProcedure.h"
#include "console/files/SafeTextSave.h"
#include "console/parameters/ParameterRestore.h"
#include "console/parameters/ReportProcedures.h"

namespace hw::cli {

namespace {

// No sensor timer runs on the command line.
class NoPolling final : public SensorPolling {
  public:
    void Pause() override {}
    void Resume() override {}
};

// Everything a command runs with.
struct Run {
    const Arguments& args;
    const CliServices& services;
    MachineSession& session;
    TextReporter& reporter;
    const ProcedureContext& context;
};

// The queue the console chose last, as the user's settings remember it.
std::optional<std::string> RememberedQueue(const Run& run) {
    return run.services.procedures.userSettings.Read(kChosenMachineSetting);
}

// The queue the command acts on: --machine, else the remembered one when it
// connects, else the first that connects.
std::string ChosenQueue(const Run& run, const std::vector<FoundMachine>& found) {
    if (!run.args.machine.empty()) return run.args.machine;
    const auto remembered = RememberedQueue(run);
    for (const FoundMachine& machine : found) {
        if (machine.connects && machine.queue == remembered) return machine.queue;
    }
    for (const FoundMachine& machine : found) {
        if (machine.connects) return machine.queue;
    }
    return {};
}

// Connects the session to the machine the command acts on; false, after
// the line that says why (exit code 3), when there is none.
bool Connect(const Run& run) {
    if (run.args.machine.empty()) {
        if (run.session.ConnectRemembered(RememberedQueue(run))) return true;
        run.reporter.Fail(kExitNoMachine, "no machine found");
        return false;
    }
    // Only the queue names are needed here: no machine is opened to find it.
    const auto queues = run.session.MachineQueues();
    if (std::find(queues.begin(), queues.end(), run.args.machine) == queues.end()) {
        run.reporter.Fail(kExitNoMachine, "no machine on queue " + run.args.machine);
        return false;
    }
    if (run.session.ConnectTo(run.args.machine)) return true;
    run.reporter.Fail(kExitNoMachine, run.args.machine + " is not connected");
    return false;
}

std::string MachineJson(const FoundMachine& m, bool chosen) {
    return JsonList()
        .Member("queue", JsonString(m.queue))
        .Member("port", JsonString(m.port))
        .Member("devicePath", JsonString(m.devicePath))
        .Member("instance", JsonString(m.instance))
        .Member("connected", m.connects ? "true" : "false")
        .Member("firmware", JsonString(m.firmware))
        .Member("chosen", chosen ? "true" : "false")
        .Object();
}

void List(const Run& run) {
    const auto found = run.session.FindMachines();
    const std::string chosen = ChosenQueue(run, found);
    JsonList machines;
    for (const FoundMachine& m : found) {
        const bool isChosen = m.queue == chosen;
        if (run.args.json) {
            machines.Add(MachineJson(m, isChosen));
            continue;
        }
        run.services.out << (isChosen ? "* " : "  ") << m.queue << "  "
                         << (m.port.empty() ? "-" : m.port) << "  "
                         << (m.instance.empty() ? "-" : m.instance) << "  "
                         << (m.connects ? "connected" : "absent") << "  "
                         << (m.firmware.empty() ? "-" : m.firmware) << "  "
                         << (m.devicePath.empty() ? "-" : m.devicePath) << '\n';
    }
    if (run.args.json) {
        run.services.out << JsonList().Member("machines", machines.Array()).Object() << '\n';
    }
    if (found.empty()) run.reporter.Fail(kExitNoMachine, "no machine found");
}

std::string StatusJson(const Run& run, const MachineStatus& status) {
    JsonList meaning, sensors;
    for (const std::string& m : status.meaning) meaning.Add(JsonString(m));
    for (const SensorReading& s : status.sensors) sensors.Member(s.name, JsonString(s.value));
    JsonList spindle;
    if (status.spindle) {
        spindle.Member("temperature", JsonString(status.spindle->temperature))
            .Member("current", JsonString(status.spindle->current));
    }
    return JsonList()
        .Member("queue", JsonString(run.session.Queue()))
        .Member("firmware", JsonString(run.session.Firmware()))
        .Member("status", std::to_string(status.word))
        .Member("meaning", meaning.Array())
        .Member("sensors", sensors.Object())
        .Member("spindle", status.spindle ? spindle.Object() : "null")
        .Object();
}

void Status(const Run& run) {
    const auto status = ReadMachineStatus(run.session.Link());
    if (!status) {
        run.reporter.Error("error");
        return;
    }
    TextOutput& out = run.services.out;
    if (run.args.json) {
        out << StatusJson(run, *status) << '\n';
        return;
    }
    char word[8];
    std::snprintf(word, sizeof word, "0x%04X", status->word);
    out << run.session.Queue() << "  firmware " << run.session.Firmware() << "\nstatus " << word;
    for (const std::string& m : status->meaning) out << ", " << m;
    out << '\n';
    for (const SensorReading& s : status->sensors) out << s.name << '=' << s.value << '\n';
    if (status->spindle) {
        out << "spindle " << status->spindle->temperature << ' ' << status->spindle->current
            << '\n';
    }
}

void Report(const Run& run) {
    std::optional<ui::Rect> noViewer;
    ReportProcedures reports(run.context, noViewer);
    const auto text = reports.ReadReport();
    if (!text) return;
    if (run.args.output.empty()) {
        run.services.out << *text;
        return;
    }
    if (SaveTextSafely(run.reporter, run.services.procedures.files, run.args.output, *text)) {
        run.reporter.Completed("Completed");
    }
}

void Backup(const Run& run) {
    std::optional<ui::Rect> noViewer;
    ReportProcedures(run.context, noViewer).SaveParameters(run.args.output);
}

void Restore(const Run& run) {
    ParameterRestore(run.context).Restore(run.args.input);
}

// The bundle of the command line: no backlash run in this session.
void Bundle(const Run& run) {
    const BacklashRecord none;
    ServiceBundleProcedure(run.context, none).Save(run.args.output);
}

void Dispatch(const Run& run) {
    if (run.args.command == Command::List) {
        List(run);
        return;
    }
    if (!Connect(run)) return;
    switch (run.args.command) {
        case Command::Status:
            Status(run);
            break;
        case Command::Report:
            Report(run);
            break;
        case Command::Backup:
            Backup(run);
            break;
        case Command::Restore:
            Restore(run);
            break;
        case Command::Bundle:
            Bundle(run);
            break;
        default:
            break;
    }
    run.session.Disconnect();
}

}  // namespace

int RunCommandLine(std::span<const std::string> argList, const CliServices& services) {
    std::string usageError;
    const auto args = ParseArguments(argList, usageError);
    if (!args) {
        services.err << usageError << "\n(--help tells the commands)\n";
        return kExitUsage;
    }
    if (args->command == Command::Help) {
        services.out << UsageText();
        return kExitDone;
    }
    if (args->command == Command::Version) {
        services.out << services.version << '\n';
        return kExitDone;
    }
    const ProcedureServices& procedures = services.procedures;
    MachineSession session(procedures.link);
    TextReporter reporter(services.out, services.err, args->yes, services.progress);
    ActivityLog activity(procedures.link.system);
    ProcedureLog log(activity, session.Link());
    NoPolling polling;
    ProgramPaths paths = SplitProgramPath(procedures.programFile.Path()).value_or(ProgramPaths{});
    const ProcedureContext context{session, reporter, procedures, log, polling, paths, nullptr};
    Dispatch({*args, services, session, reporter, context});
    return reporter.Exit();
}

}  // namespace hw::cli
