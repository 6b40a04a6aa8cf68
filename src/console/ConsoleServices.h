// What the console reaches outside itself: the dialog framework's
// application, the OS services of the device link, the program file, the
// disk files the technician chooses and the settings file beside the program.
#pragma once

#include "platform/FileSystem.h"
#include "platform/LinkPlatform.h"
#include "platform/ProgramFile.h"
#include "platform/SettingsFile.h"
#include "ui/Application.h"

namespace hw {

struct ConsoleServices {
    ui::Application& app;
    const LinkPlatform& link;
    ProgramFile& programFile;
    FileSystem& files;
    SettingsFile& settings;
};

}  // namespace hw
