// Hexwarden.exe: the console on the real Windows services.
#include <windows.h>

#include "console/ConsoleApp.h"
#include "console/ProgramPath.h"
#include "link/StartupTimer.h"
#include "platform/win32/Win32Platform.h"
#include "ui/win32/Win32WindowSystem.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The start-up is timed from here, the earliest the program acts, and
    // from the process's creation before it.
    hw::Win32System pc;
    hw::StartupTimer startup(pc, pc.MicrosecondsSinceProcessStart());
    hw::Win32Platform os;
    hw::ui::Win32WindowSystem windows;
    const auto paths = hw::SplitProgramPath(os.programFile.Path());
    hw::ui::Application app(windows, paths ? paths->programName : "Hexwarden");
    const hw::LinkPlatform link = os.Link(app.alerts());
    hw::ConsoleApp console(
        {app, link, os.programFile, os.fileSystem, os.settings, os.versionBlocks, os.userSettings},
        &startup);
    return console.InitInstance() ? 1 : 0;
}
