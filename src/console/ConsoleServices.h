// What the console reaches outside itself: the dialog framework's
// application, the OS services of the device link, the program file, the
// disk files the technician chooses, the settings file beside the program,
// the version blocks of program files and the user's remembered settings.
#pragma once

#include "platform/device/LinkPlatform.h"
#include "platform/files/FileSystem.h"
#include "platform/files/ProgramFile.h"
#include "platform/files/SettingsFile.h"
#include "platform/files/UserSettings.h"
#include "platform/files/VersionBlocks.h"
#include "ui/Application.h"

namespace hw {

// What a procedure reaches, with or without a window.
struct ProcedureServices {
    const LinkPlatform& link;
    ProgramFile& programFile;
    FileSystem& files;
    SettingsFile& settings;
    VersionBlocks& versionBlocks;
    // What is remembered for the user between runs: the machine last chosen.
    UserSettings& userSettings;
};

struct ConsoleServices {
    ui::Application& app;
    const LinkPlatform& link;
    ProgramFile& programFile;
    FileSystem& files;
    SettingsFile& settings;
    VersionBlocks& versionBlocks;
    UserSettings& userSettings;

    ProcedureServices Procedures() const {
        return {link, programFile, files, settings, versionBlocks, userSettings};
    }
};

}  // namespace hw
