// The options of the console's file dialogs. Every one hides the read-only
// box and asks before it lets a chosen file be replaced; what differs is
// given: open or save-as, the filter, the kind of file (whose folder the
// dialog opens in, see OfferedNames.h), the name offered and the extension a
// name typed without one gets.
#pragma once

#include <string>

#include "ui/WindowSystem.h"

namespace hw {

// open: an open dialog, else a save-as one; folderKind: one of the kinds
// of OfferedNames.h; initialName, defaultExtension: none when empty.
ui::FileDialogOptions FileDialogOptionsFor(bool open, std::string filter, const char* folderKind,
                                           std::string initialName = {},
                                           std::string defaultExtension = {});

}  // namespace hw
