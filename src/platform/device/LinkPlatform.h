// The OS services the device link reaches, gathered for its constructor.
#pragma once

#include "platform/device/Alerts.h"
#include "platform/device/DeviceFiles.h"
#include "platform/device/NamedLocks.h"
#include "platform/device/Registry.h"
#include "platform/device/Spooler.h"
#include "platform/device/System.h"
#include "platform/device/Text.h"

namespace hw {

struct LinkPlatform {
    DeviceFiles& files;
    NamedLocks& locks;
    System& system;
    Spooler& spooler;
    Registry& registry;
    Alerts& alerts;
    Text& text;
};

}  // namespace hw
