// Every Win32 implementation of the platform interfaces, owned together and
// wired into the LinkPlatform that a device link takes.
#pragma once

#include <string>

#include "platform/LinkPlatform.h"
#include "platform/win32/Win32Alerts.h"
#include "platform/win32/Win32DeviceFiles.h"
#include "platform/win32/Win32NamedLocks.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Spooler.h"
#include "platform/win32/Win32System.h"

namespace hw {

struct Win32Platform {
    // appName: the caption of the alert boxes.
    explicit Win32Platform(std::string appName);

    // platform refers to the members of this very object.
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    Win32DeviceFiles files;
    Win32NamedLocks locks;
    Win32System system;
    Win32Spooler spooler;
    Win32Registry registry;
    Win32Alerts alerts;
    LinkPlatform platform{files, locks, system, spooler, registry, alerts};
};

}  // namespace hw
