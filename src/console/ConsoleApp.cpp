#include "console/ConsoleApp.h"

#include "console/ConsoleDialog.h"
#include "console/ManualPage.h"

namespace hw {

const ui::AppCommandEntry ConsoleApp::commandMap[] = {
    {ui::kIdHelp, &ui::Application::OnHelp},
};

ConsoleApp::ConsoleApp(const ConsoleServices& consoleServices, StartupTimer* startup)
    : services(consoleServices), startup(startup) {
    services.app.SetCommandMap(commandMap);
    services.app.SetHelpHandler([parts = services] { OpenManual(parts); });
}

bool ConsoleApp::InitInstance() {
    ConsoleDialog dialog(services, startup);
    services.app.SetMainWindow(&dialog);
    dialog.DoModal();
    services.app.SetMainWindow(nullptr);
    return false;
}

}  // namespace hw
