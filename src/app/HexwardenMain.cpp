// Hexwarden.exe: the console on the real Windows services.
#include <windows.h>

#include "console/ConsoleApp.h"
#include "console/ProgramPath.h"
#include "platform/win32/Win32Platform.h"
#include "ui/win32/Win32WindowSystem.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    hw::Win32Platform os;
    hw::ui::Win32WindowSystem windows;
    const auto paths = hw::SplitProgramPath(os.programFile.Path());
    hw::ui::Application app(windows, paths ? paths->programName : "Hexwarden");
    const hw::LinkPlatform link = os.Link(app.alerts());
    hw::ConsoleApp console(
        {app, link, os.programFile, os.fileSystem, os.settings, os.versionBlocks, os.userSettings});
    return console.InitInstance() ? 1 : 0;
}
