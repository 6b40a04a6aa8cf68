// The backend of the dialog framework: every call that reaches real windows
// (Win32) or their stand-ins (headless, for native tests), in six parts by
// concern. Dialogs, controls and the application object reach the OS only
// through these parts; a backend hands out all six at once.
#pragma once

#include "ui/DialogItems.h"
#include "ui/DialogWindows.h"
#include "ui/ListBoxes.h"
#include "ui/Shell.h"
#include "ui/WindowGeometry.h"
#include "ui/WindowMessages.h"

namespace hw::ui {

struct WindowSystem {
    DialogWindows& windows;
    DialogItems& items;
    ListBoxes& lists;
    WindowGeometry& geometry;
    WindowMessages& messages;
    Shell& shell;
};

}  // namespace hw::ui
