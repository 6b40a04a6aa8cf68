#include "console/ManualPage.h"

#include <string>

#include "console/Messages.h"
#include "ui/Dialog.h"

namespace hw {

void OpenManual(const ConsoleServices& services) {
    const std::string path = PathBeside(services.programFile.Path(), kManualFileName);
    if (!services.files.Exists(path)) {
        ShowWarningBox(services.app, "Cannot find the manual '" + path + "'.");
        return;
    }
    const ui::Dialog* main = services.app.mainWindow();
    const ui::WindowId owner = main != nullptr ? main->window() : ui::kNoWindow;
    if (!services.app.shell().OpenDocument(owner, path))
        ShowWarningBox(services.app, "Cannot open the manual '" + path + "' in the browser.");
}

}  // namespace hw
