#include "ui/Controls.h"

#include "ui/WindowSystem.h"

namespace hw::ui {

void Control::Bind(WindowSystem& windows, WindowId window, int id) {
    windows_ = &windows;
    window_ = window;
    id_ = id;
}

std::string Control::GetText() const {
    return IsBound() ? windows_->ItemText(window_, id_) : std::string();
}

void Control::SetText(std::string_view text) {
    if (IsBound()) windows_->SetItemText(window_, id_, text);
}

void Control::Enable(bool enable) {
    if (IsBound()) windows_->EnableItem(window_, id_, enable);
}

bool Control::IsEnabled() const {
    return IsBound() && windows_->IsItemEnabled(window_, id_);
}

void Control::Show(bool show) {
    if (IsBound()) windows_->ShowItem(window_, id_, show);
}

bool Control::IsVisible() const {
    return IsBound() && windows_->IsItemVisible(window_, id_);
}

void Control::Focus() {
    if (IsBound()) windows_->FocusItem(window_, id_);
}

void ProgressControl::SetRange(int lower, int upper) {
    if (IsBound()) windows_->SetProgressRange(window_, id_, lower, upper);
}

void ProgressControl::SetPos(int pos) {
    if (IsBound()) windows_->SetProgressPos(window_, id_, pos);
}

}  // namespace hw::ui
