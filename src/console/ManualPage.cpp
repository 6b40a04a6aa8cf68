#include "console/ManualPage.h"

#include "console/Messages.h"
#include "ui/Dialog.h"

namespace hw {

std::string ManualPath(ProgramFile& programFile) {
    return PathBeside(programFile.Path(), kManualFileName);
}

void OpenManual(const ConsoleServices& services) {
    const std::string path = ManualPath(services.programFile);
    if (!services.files.Exists(path)) {
        ShowWarningBox(services.app, "Cannot find the manual '" + path + "'.");
        return;
    }
    const ui::Dialog* main = services.app.mainWindow();
    const ui::WindowId owner = main != nullptr ? main->window() : ui::kNoWindow;
    if (!services.app.windows().OpenDocument(owner, path))
        ShowWarningBox(services.app, "Cannot open the manual '" + path + "' in the browser.");
}

}  // namespace hw
