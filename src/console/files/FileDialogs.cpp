#include "console/files/FileDialogs.h"

#include <utility>

namespace hw {

ui::FileDialogOptions FileDialogOptionsFor(bool open, std::string filter, const char* folderKind,
                                           std::string initialName, std::string defaultExtension) {
    ui::FileDialogOptions options;
    options.open = open;
    options.flags = ui::kOfnHideReadOnly | ui::kOfnOverwritePrompt;
    options.filter = std::move(filter);
    options.folderKind = folderKind;
    options.initialName = std::move(initialName);
    options.defaultExtension = std::move(defaultExtension);
    return options;
}

}  // namespace hw
