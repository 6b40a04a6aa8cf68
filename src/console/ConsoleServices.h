// What the console reaches outside itself: the dialog framework's
// application, the OS services of the device link, the program file, the
// disk files the technician chooses, the settings file beside the program and
// the version blocks of program files.
#pragma once

#include "platform/device/LinkPlatform.h"
#include "platform/files/FileSystem.h"
#include "platform/files/ProgramFile.h"
#include "platform/files/SettingsFile.h"
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
};

struct ConsoleServices {
    ui::Application& app;
    const LinkPlatform& link;
    ProgramFile& programFile;
    FileSystem& files;
    SettingsFile& settings;
    VersionBlocks& versionBlocks;

    ProcedureServices Procedures() const {
        return {link, programFile, files, settings, versionBlocks};
    }
};

}  // namespace hw
