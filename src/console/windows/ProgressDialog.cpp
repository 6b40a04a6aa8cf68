#include "console/windows/ProgressDialog.h"

#include "ui/Application.h"
#include "ui/DataExchange.h"

namespace hw {

ProgressDialog::ProgressDialog(ui::Application& app) : ui::Dialog(app, progress_id::kDialog) {}

ProgressDialog::~ProgressDialog() {
    DestroyWindow();
}

bool ProgressDialog::Create(ui::Dialog& ownerDialog, std::string_view caption) {
    owner = ownerDialog.window();
    if (ownerDialog.IsWindowEnabled()) {
        app().windows().EnableWindow(owner, false);
        ownerDisabled = true;
    }
    if (!ui::Dialog::Create(owner)) {
        DestroyWindow();
        return false;
    }
    if (!caption.empty()) SetTitle(caption);
    return true;
}

void ProgressDialog::SetStatusText(std::string_view text) {
    SetItemText(progress_id::kStatusText, text);
}

void ProgressDialog::AllowStop(bool allow) {
    stopAllowed = allow;
    EnableItem(progress_id::kStop, allow);
}

bool ProgressDialog::CheckCancel() {
    app().messages().PumpMessages(window());
    const bool cancel = cancelRequested;
    cancelRequested = false;
    return cancel;
}

bool ProgressDialog::DestroyWindow() {
    // The owner first, so that it takes the activation back when this
    // window goes.
    if (ownerDisabled) {
        app().windows().EnableWindow(owner, true);
        ownerDisabled = false;
    }
    return ui::Dialog::DestroyWindow();
}

bool ProgressDialog::PreTranslateMessage(const ui::Message& message) {
    return ui::IsKeyDown(message, ui::kVkReturn);
}

bool ProgressDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    bar.SetRange(0, 100);
    bar.SetPos(0);
    return true;
}

void ProgressDialog::DoDataExchange(ui::DataExchange& dx) {
    dx.Control(progress_id::kBar, bar);
}

void ProgressDialog::OnOK() {}

void ProgressDialog::OnCancel() {
    cancelRequested = stopAllowed;
}

std::unique_ptr<ProgressDialog> ShowProgress(ui::Dialog* owner, std::string_view caption) {
    if (owner == nullptr) return nullptr;
    auto progress = std::make_unique<ProgressDialog>(owner->app());
    if (!progress->Create(*owner, caption)) return nullptr;
    return progress;
}

}  // namespace hw
