#include "console/Messages.h"

#include "ui/Application.h"

namespace hw {

void ShowErrorBox(ui::Application& app, std::string_view text) {
    app.ShowMessageBox(text, ui::kMbIconHand);
}

void ShowWarningBox(ui::Application& app, std::string_view text) {
    app.ShowMessageBox(text, ui::kMbIconExclamation);
}

}  // namespace hw
