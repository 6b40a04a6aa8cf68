// What the console needs to run against the simulated machine: the machine
// and PC on a clock that steps 1 ms per read, headless windows whose timers
// run on that clock, and fake
// program, settings, file and version-block services.
#pragma once

#include "console/ConsoleServices.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeSettingsFile.h"
#include "fakes/FakeVersionBlocks.h"
#include "fakes/FixedProgramFile.h"
#include "sim/pc/SimEnvironment.h"
#include "sim/pc/SimUserSettings.h"
#include "ui/Application.h"
#include "ui/headless/HeadlessWindowSystem.h"

namespace hw::test {

struct SimulatedConsoleParts {
    SimulatedConsoleParts() {
        windows.UseClock([this] { return clock.Peek(); });
    }

    TestClock clock{1};
    SimEnvironment env{clock};
    ui::HeadlessWindowSystem windows;
    ui::Application app{windows, "Hexwarden"};
    LinkPlatform link = env.Link(app.alerts());
    FixedProgramFile program;
    FakeFileSystem files;
    FakeSettingsFile settings;
    FakeVersionBlocks versions;
    SimUserSettings userSettings;
    ConsoleServices services{app, link, program, files, settings, versions, userSettings};
};

}  // namespace hw::test
