#include "console/Messages.h"

#include "ui/Application.h"
#include "ui/Dialog.h"

namespace hw {

void ShowErrorBox(ui::Application& app, std::string_view text) {
    app.ShowMessageBox(text, ui::kMbIconHand);
}

void ShowWarningBox(ui::Application& app, std::string_view text) {
    app.ShowMessageBox(text, ui::kMbIconExclamation);
}

void ShowCompleted(ui::Dialog& console) {
    console.ShowMessageBox(kTextCompleted, {}, ui::kMbOk);
}

}  // namespace hw
