#include "ui/headless/HeadlessItems.h"

#include <algorithm>

namespace hw::ui {

bool HeadlessItems::HasItem(WindowId window, int id) const {
    return desktop_.FindControl(window, id) != nullptr;
}

void HeadlessItems::SetItemText(WindowId window, int id, std::string_view text) {
    if (HeadlessDesktop::ControlState* c = desktop_.FindControl(window, id)) c->text = text;
}

std::string HeadlessItems::ItemText(WindowId window, int id) const {
    const HeadlessDesktop::ControlState* c = desktop_.FindControl(window, id);
    return c == nullptr ? std::string() : c->text;
}

void HeadlessItems::EnableItem(WindowId window, int id, bool enable) {
    if (HeadlessDesktop::ControlState* c = desktop_.FindControl(window, id)) c->enabled = enable;
}

bool HeadlessItems::IsItemEnabled(WindowId window, int id) const {
    const HeadlessDesktop::ControlState* c = desktop_.FindControl(window, id);
    return c != nullptr && c->enabled;
}

void HeadlessItems::ShowItem(WindowId window, int id, bool show) {
    if (HeadlessDesktop::ControlState* c = desktop_.FindControl(window, id)) c->visible = show;
}

bool HeadlessItems::IsItemVisible(WindowId window, int id) const {
    const HeadlessDesktop::ControlState* c = desktop_.FindControl(window, id);
    return c != nullptr && c->visible;
}

void HeadlessItems::CheckItem(WindowId window, int id, bool checked) {
    SetItemCheckState(window, id, checked ? CheckState::Checked : CheckState::Unchecked);
}

bool HeadlessItems::IsItemChecked(WindowId window, int id) const {
    return ItemCheckState(window, id) == CheckState::Checked;
}

void HeadlessItems::SetItemCheckState(WindowId window, int id, CheckState state) {
    if (HeadlessDesktop::ControlState* c = desktop_.FindControl(window, id)) {
        c->checked = state == CheckState::Checked;
        c->indeterminate = state == CheckState::Indeterminate;
    }
}

CheckState HeadlessItems::ItemCheckState(WindowId window, int id) const {
    const HeadlessDesktop::ControlState* c = desktop_.FindControl(window, id);
    if (c == nullptr) return CheckState::Unchecked;
    if (c->indeterminate) return CheckState::Indeterminate;
    return c->checked ? CheckState::Checked : CheckState::Unchecked;
}

void HeadlessItems::FocusItem(WindowId window, int id) {
    HeadlessDesktop::WindowState* state = desktop_.Find(window);
    if (state != nullptr && HasItem(window, id)) state->focus = id;
}

std::vector<int> HeadlessItems::RadioGroup(WindowId window, int firstId) const {
    std::vector<int> group;
    const HeadlessDesktop::WindowState* state = desktop_.Find(window);
    if (state == nullptr) return group;
    const auto& controls = state->controls;
    const auto first =
        std::find_if(controls.begin(), controls.end(),
                     [firstId](const HeadlessDesktop::ControlState& c) { return c.id == firstId; });
    if (first == controls.end() || !IsRadio(*first)) return group;
    group.push_back(firstId);
    for (auto c = first + 1; c != controls.end() && (c->style & kWsGroup) == 0; ++c) {
        if (IsRadio(*c)) group.push_back(c->id);
    }
    return group;
}

void HeadlessItems::SetProgressRange(WindowId window, int id, int lower, int upper) {
    if (HeadlessDesktop::ControlState* c = desktop_.FindControl(window, id)) {
        c->rangeLower = lower;
        c->rangeUpper = upper;
    }
}

void HeadlessItems::SetProgressPos(WindowId window, int id, int pos) {
    if (HeadlessDesktop::ControlState* c = desktop_.FindControl(window, id)) c->pos = pos;
}

}  // namespace hw::ui
