// Every Win32 implementation of the platform interfaces, owned together.
#pragma once

#include "platform/device/LinkPlatform.h"
#include "platform/win32/Win32DeviceFiles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32NamedLocks.h"
#include "platform/win32/Win32ProgramFile.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SettingsFile.h"
#include "platform/win32/Win32Spooler.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32UserSettings.h"
#include "platform/win32/Win32VersionBlocks.h"

namespace hw {

struct Win32Platform {
    // The device link's services, with the given boxes for its alerts.
    LinkPlatform Link(Alerts& alerts) {
        return LinkPlatform{files, locks, system, spooler, registry, alerts, text};
    }

    Win32DeviceFiles files;
    Win32NamedLocks locks;
    Win32System system;
    Win32Spooler spooler;
    Win32Registry registry;
    Win32Text text;
    Win32ProgramFile programFile;
    Win32FileSystem fileSystem;
    Win32SettingsFile settings;
    Win32VersionBlocks versionBlocks;
    Win32UserSettings userSettings;
};

}  // namespace hw
