// The OS services the device link reaches, gathered for its constructor.
#pragma once

#include "platform/Alerts.h"
#include "platform/DeviceFiles.h"
#include "platform/NamedLocks.h"
#include "platform/Registry.h"
#include "platform/Spooler.h"
#include "platform/System.h"
#include "platform/Text.h"

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
