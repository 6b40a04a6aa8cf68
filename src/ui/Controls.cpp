#include "ui/Controls.h"

#include "ui/DialogItems.h"

namespace hw::ui {

void Control::Bind(DialogItems& items, WindowId window, int id) {
    items_ = &items;
    window_ = window;
    id_ = id;
}

std::string Control::GetText() const {
    return IsBound() ? items_->ItemText(window_, id_) : std::string();
}

void Control::SetText(std::string_view text) {
    if (IsBound()) items_->SetItemText(window_, id_, text);
}

void Control::Enable(bool enable) {
    if (IsBound()) items_->EnableItem(window_, id_, enable);
}

bool Control::IsEnabled() const {
    return IsBound() && items_->IsItemEnabled(window_, id_);
}

void Control::Show(bool show) {
    if (IsBound()) items_->ShowItem(window_, id_, show);
}

bool Control::IsVisible() const {
    return IsBound() && items_->IsItemVisible(window_, id_);
}

void Control::Focus() {
    if (IsBound()) items_->FocusItem(window_, id_);
}

void ProgressControl::SetRange(int lower, int upper) {
    if (IsBound()) items_->SetProgressRange(window_, id_, lower, upper);
}

void ProgressControl::SetPos(int pos) {
    if (IsBound()) items_->SetProgressPos(window_, id_, pos);
}

}  // namespace hw::ui
