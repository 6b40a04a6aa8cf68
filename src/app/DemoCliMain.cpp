// HexwardenDemoCli.exe: the scripted console on a simulated QMV-240, with
// the real files of the PC. Each run starts a simulated machine of its own,
// as it is when it leaves the factory.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "cli/CommandLine.h"
#include "cli/StreamAlerts.h"
#include "cli/VersionLine.h"
#include "platform/win32/Win32Arguments.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32ProgramFile.h"
#include "platform/win32/Win32SettingsFile.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32VersionBlocks.h"
#include "sim/pc/SimEnvironment.h"

int main() {
    SetConsoleOutputCP(CP_UTF8);
    // The text goes out byte for byte: a report keeps its own line ends.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    hw::RealClock clock;
    hw::SimEnvironment sim(clock);
    // A second machine beside the first, as on a service bench.
    sim.AddMachine(hw::kSimSecondQueueName, hw::kSimSecondPortName, hw::SecondMachineConfig());
    sim.System().start = hw::Win32System().Now();
    hw::Win32ProgramFile programFile;
    hw::Win32FileSystem files;
    hw::Win32SettingsFile settings;
    hw::Win32VersionBlocks versionBlocks;
    hw::cli::FileOutput out(stdout);
    hw::cli::FileOutput err(stderr);
    hw::cli::StreamAlerts alerts(err);
    const hw::LinkPlatform link = sim.Link(alerts);
    const std::string version = hw::cli::VersionLine(versionBlocks, programFile.Path());
    const hw::cli::CliServices services{
        {link, programFile, files, settings, versionBlocks, sim.UserSettings()},
        out,
        err,
        _isatty(_fileno(stderr)) ? &err : nullptr,
        version};
    return hw::cli::RunCommandLine(hw::Win32Arguments(), services);
}
