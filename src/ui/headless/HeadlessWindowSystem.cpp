#include "ui/headless/HeadlessWindowSystem.h"

#include <stdexcept>
#include <string>

#include "ui/Dialog.h"

namespace hw::ui {

HeadlessWindowSystem::HeadlessWindowSystem() : HeadlessWindowSystem(ProgramResources()) {}

HeadlessWindowSystem::HeadlessWindowSystem(const ResourceScript& resources)
    : WindowSystem{windows_, items_, lists_, geometry_, messages_, shell_}, desktop_(resources) {}

void HeadlessWindowSystem::OnModal(int templateId, std::function<void(Dialog&)> handler) {
    if (handler) {
        desktop_.modalHandlers[templateId] = std::move(handler);
    } else {
        desktop_.modalHandlers.erase(templateId);
    }
}

void HeadlessWindowSystem::QueueBoxAnswer(int answer) {
    desktop_.boxAnswers.push_back(answer);
}

void HeadlessWindowSystem::OnBox(std::function<int(const HeadlessDesktop::BoxRecord&)> hook) {
    desktop_.boxHook = std::move(hook);
}

void HeadlessWindowSystem::OnFileDialog(
    std::function<std::optional<std::string>(const HeadlessDesktop::FileDialogRecord&)> hook) {
    desktop_.fileHook = std::move(hook);
}

void HeadlessWindowSystem::QueueFileAnswer(std::optional<std::string> path, int filter) {
    desktop_.fileAnswers.emplace_back(std::move(path), filter);
}

void HeadlessWindowSystem::OnPump(std::function<void()> hook) {
    desktop_.pumpHook = std::move(hook);
}

void HeadlessWindowSystem::UseClock(std::function<std::uint64_t()> nowMs) {
    desktop_.clock = std::move(nowMs);
}

void HeadlessWindowSystem::FailNextCreate(int templateId) {
    desktop_.failCreates.push_back(templateId);
}

bool HeadlessWindowSystem::Click(WindowId window, int id) {
    const HeadlessDesktop::WindowState* state = desktop_.Find(window);
    HeadlessDesktop::ControlState* control = desktop_.FindControl(window, id);
    if (state == nullptr || !state->enabled || control == nullptr || !control->enabled ||
        !control->visible) {
        return false;
    }
    // A button takes the focus from the mouse.
    if (IsButton(*control)) items_.FocusItem(window, id);
    const std::uint32_t kind = control->style & kBsTypeMask;
    if (IsButton(*control) && kind == kBsAutoRadioButton) {
        // The group that holds the button: from the nearest group start back.
        auto start = state->controls.begin() + (control - state->controls.data());
        while (start != state->controls.begin() && (start->style & kWsGroup) == 0) --start;
        for (int member : items_.RadioGroup(window, start->id))
            items_.CheckItem(window, member, member == id);
        control->checked = true;
    } else if (IsButton(*control) && kind == kBsAutoCheckBox) {
        control->checked = !control->checked;
    } else if (IsButton(*control) && kind == kBsAuto3State) {
        const auto next = (static_cast<int>(items_.ItemCheckState(window, id)) + 1) % 3;
        items_.SetItemCheckState(window, id, static_cast<CheckState>(next));
    }
    desktop_.Dispatch(window, {kWmCommand, CommandParam(id), 0});
    return true;
}

bool HeadlessWindowSystem::DoubleClickListLine(WindowId window, int id, int index) {
    const HeadlessDesktop::WindowState* state = desktop_.Find(window);
    HeadlessDesktop::ControlState* list = desktop_.FindControl(window, id);
    if (state == nullptr || !state->enabled || list == nullptr || !list->enabled ||
        !list->visible || index < 0 || static_cast<std::size_t>(index) >= list->lines.size()) {
        return false;
    }
    items_.FocusItem(window, id);
    const bool changed = list->selected != index;
    list->selected = index;
    if ((list->style & kLbsNotify) == 0) return true;
    if (changed) desktop_.Dispatch(window, {kWmCommand, CommandParam(id, kLbnSelChange), 0});
    desktop_.Dispatch(window, {kWmCommand, CommandParam(id, kLbnDblClk), 0});
    return true;
}

void HeadlessWindowSystem::Type(WindowId window, int id, std::string_view text) {
    items_.FocusItem(window, id);
    items_.SetItemText(window, id, text);
}

void HeadlessWindowSystem::PressEnter(WindowId window) {
    if (!TakesKey(window, kVkReturn)) return;
    const HeadlessDesktop::WindowState* state = desktop_.Find(window);
    if (state->focus) {
        const HeadlessDesktop::ControlState* focused = desktop_.FindControl(window, *state->focus);
        if (focused != nullptr && IsPushButton(*focused)) {
            desktop_.SendCommand(window, focused->id);
            return;
        }
    }
    const auto answer = static_cast<std::uint32_t>(messages_.Send(window, {kDmGetDefId, 0, 0}));
    if ((answer >> 16) != kDcHasDefId) {
        desktop_.SendCommand(window, kIdOk);
        return;
    }
    const int id = static_cast<int>(answer & 0xFFFF);
    const HeadlessDesktop::ControlState* button = desktop_.FindControl(window, id);
    if (button == nullptr || button->enabled) desktop_.SendCommand(window, id);
}

void HeadlessWindowSystem::PressEscape(WindowId window) {
    if (TakesKey(window, kVkEscape)) desktop_.SendCommand(window, kIdCancel);
}

bool HeadlessWindowSystem::TakesKey(WindowId window, std::uintptr_t key) {
    const HeadlessDesktop::WindowState* state = desktop_.Find(window);
    // A disabled window gets no keystrokes.
    if (state == nullptr || !state->enabled) return false;
    return !state->dialog->PreTranslateMessage({kWmKeyDown, key, 0});
}

void HeadlessWindowSystem::PressCloseBox(WindowId window) {
    desktop_.Dispatch(window, {kWmSysCommand, kScClose, 0});
}

void HeadlessWindowSystem::SetMinimized(WindowId window, bool minimized) {
    if (HeadlessDesktop::WindowState* state = desktop_.Find(window)) state->minimized = minimized;
}

void HeadlessWindowSystem::RemoveItem(WindowId window, int id) {
    if (HeadlessDesktop::WindowState* state = desktop_.Find(window)) {
        std::erase_if(state->controls,
                      [id](const HeadlessDesktop::ControlState& c) { return c.id == id; });
    }
}

bool HeadlessWindowSystem::IsUp(WindowId window) const {
    const HeadlessDesktop::WindowState* state = desktop_.Find(window);
    return state != nullptr && !state->ended;
}

Dialog* HeadlessWindowSystem::FindDialog(int templateId) const {
    for (auto it = desktop_.windows.rbegin(); it != desktop_.windows.rend(); ++it) {
        if (it->second->templateId == templateId && !it->second->ended) return it->second->dialog;
    }
    return nullptr;
}

const HeadlessWindowSystem::ControlState* HeadlessWindowSystem::FindItem(WindowId window,
                                                                         int id) const {
    return desktop_.FindControl(window, id);
}

const HeadlessDesktop::ControlState& HeadlessWindowSystem::Item(WindowId window, int id) const {
    const HeadlessDesktop::ControlState* c = desktop_.FindControl(window, id);
    if (c == nullptr) {
        throw std::out_of_range("no item " + std::to_string(id) + " in window " +
                                std::to_string(window));
    }
    return *c;
}

std::vector<const HeadlessDesktop::ControlState*> HeadlessWindowSystem::Items(
    WindowId window) const {
    std::vector<const HeadlessDesktop::ControlState*> items;
    if (const HeadlessDesktop::WindowState* state = desktop_.Find(window)) {
        for (const HeadlessDesktop::ControlState& c : state->controls) items.push_back(&c);
    }
    return items;
}

std::vector<HeadlessDesktop::TimerState> HeadlessWindowSystem::ActiveTimers(WindowId window) const {
    const HeadlessDesktop::WindowState* state = desktop_.Find(window);
    return state == nullptr ? std::vector<HeadlessDesktop::TimerState>() : state->timers;
}

int HeadlessWindowSystem::KillTimerCalls(WindowId window) const {
    const HeadlessDesktop::WindowState* state = desktop_.Find(window);
    return state == nullptr ? 0 : state->killTimerCalls;
}

std::vector<HeadlessDesktop::MenuItem> HeadlessWindowSystem::SystemMenu(WindowId window) const {
    const HeadlessDesktop::WindowState* state = desktop_.Find(window);
    return state == nullptr ? std::vector<HeadlessDesktop::MenuItem>() : state->menu;
}

IconHandle HeadlessWindowSystem::Icon(WindowId window, bool big) const {
    const HeadlessDesktop::WindowState* state = desktop_.Find(window);
    if (state == nullptr) return 0;
    return big ? state->bigIcon : state->smallIcon;
}

std::optional<int> HeadlessWindowSystem::FocusedItem(WindowId window) const {
    const HeadlessDesktop::WindowState* state = desktop_.Find(window);
    return state == nullptr ? std::nullopt : state->focus;
}

int HeadlessWindowSystem::PaintedIcons(WindowId window) const {
    const HeadlessDesktop::WindowState* state = desktop_.Find(window);
    return state == nullptr ? 0 : state->paintedIcons;
}

std::vector<Rect> HeadlessWindowSystem::PaintedGrips(WindowId window) const {
    const HeadlessDesktop::WindowState* state = desktop_.Find(window);
    return state == nullptr ? std::vector<Rect>() : state->grips;
}

std::vector<std::optional<Rect>> HeadlessWindowSystem::Invalidated(WindowId window) const {
    const HeadlessDesktop::WindowState* state = desktop_.Find(window);
    return state == nullptr ? std::vector<std::optional<Rect>>() : state->invalidated;
}

}  // namespace hw::ui
