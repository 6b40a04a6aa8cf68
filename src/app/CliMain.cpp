// HexwardenCli.exe: the scripted console on the real Windows services.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "cli/CommandLine.h"
#include "cli/StreamAlerts.h"
#include "cli/VersionLine.h"
#include "platform/win32/Win32Arguments.h"
#include "platform/win32/Win32Platform.h"

int main() {
    SetConsoleOutputCP(CP_UTF8);
    // The text goes out byte for byte: a report keeps its own line ends.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    hw::Win32Platform os;
    hw::cli::FileOutput out(stdout);
    hw::cli::FileOutput err(stderr);
    hw::cli::StreamAlerts alerts(err);
    const hw::LinkPlatform link = os.Link(alerts);
    const std::string version = hw::cli::VersionLine(os.versionBlocks, os.programFile.Path());
    const hw::cli::CliServices services{
        {link, os.programFile, os.fileSystem, os.settings, os.versionBlocks, os.userSettings},
        out,
        err,
        _isatty(_fileno(stderr)) ? &err : nullptr,
        version};
    return hw::cli::RunCommandLine(hw::Win32Arguments(), services);
}
