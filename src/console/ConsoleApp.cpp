#include "console/ConsoleApp.h"

#include "console/ConsoleDialog.h"

namespace hw {

bool ConsoleApp::InitInstance() {
    ConsoleDialog dialog(services);
    services.app.SetMainWindow(&dialog);
    dialog.DoModal();
    services.app.SetMainWindow(nullptr);
    return false;
}

}  // namespace hw
