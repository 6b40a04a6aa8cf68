// HexwardenDemo.exe: the same console, on a simulated QMV-240 and the
// simulated Windows services around it, running in real time, with a window
// beside it through which a person acts on the simulated machine.
#include <windows.h>

#include "console/ConsoleApp.h"
#include "console/ProgramPath.h"
#include "link/StartupTimer.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32ProgramFile.h"
#include "platform/win32/Win32SettingsFile.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32VersionBlocks.h"
#include "sim/control/SimControlWindow.h"
#include "sim/pc/SimEnvironment.h"
#include "ui/Dialog.h"
#include "ui/win32/Win32WindowSystem.h"

namespace {

hw::SimControlWindow* pendingControls = nullptr;

// A thread timer's message comes only when no other message waits: the
// console's message loop calls this once the console has shown itself. The
// console stays the active window, with the keyboard's focus.
void CALLBACK CreateControls(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    const HWND console = GetActiveWindow();
    pendingControls->Create(hw::ui::kNoWindow);
    if (console != nullptr) SetActiveWindow(console);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The start-up is timed on the PC's own clock from here, the earliest the
    // program acts, and from the process's creation before it.
    hw::Win32System pc;
    hw::StartupTimer startup(pc, pc.MicrosecondsSinceProcessStart());
    hw::RealClock clock;
    hw::SimEnvironment sim(clock);
    // The simulated PC's local time is the real one, so that the backups the
    // console keeps in the real local application data sort by when they
    // were made.
    // A second machine beside the first, as on a service bench.
    sim.AddMachine(hw::kSimSecondQueueName, hw::kSimSecondPortName, hw::SecondMachineConfig());
    sim.System().start = pc.Now();
    hw::Win32ProgramFile programFile;
    hw::Win32FileSystem files;
    // The settings file beside the demo program, as the real program reads its own.
    hw::Win32SettingsFile settings;
    // The About box shows the demo program's own version block.
    hw::Win32VersionBlocks versionBlocks;
    hw::ui::Win32WindowSystem windows;
    const auto paths = hw::SplitProgramPath(programFile.Path());
    hw::ui::Application app(windows, paths ? paths->programName : "HexwardenDemo");
    const hw::LinkPlatform link = sim.Link(app.alerts());
    // Windows tells the console when the simulated machine is unplugged or
    // plugged back in, as it does for a real device.
    sim.Files().OnDeviceChange([&app, &windows] {
        if (const hw::ui::Dialog* console = app.mainWindow()) {
            windows.messages.Post(console->window(),
                                  {hw::ui::kWmDeviceChange, hw::ui::kDbtDevNodesChanged, 0});
        }
    });
    // Owned by no window, so that it stays usable while the console runs a
    // modal procedure (the panel check among them). Made once the console is
    // up, so that making it does not hold back the console's window.
    hw::SimControlWindow controls(app, sim);
    pendingControls = &controls;
    SetTimer(nullptr, 0, 0, CreateControls);
    hw::ConsoleApp console(
        {app, link, programFile, files, settings, versionBlocks, sim.UserSettings()}, &startup);
    return console.InitInstance() ? 1 : 0;
}
