#include "ui/headless/HeadlessDialogWindows.h"

#include <algorithm>

#include "ui/Dialog.h"

namespace hw::ui {

int HeadlessDialogWindows::RunModal(Dialog& dialog, WindowId owner) {
    const WindowId window = desktop_.Open(dialog, owner, true);
    if (window == kNoWindow) return -1;
    const auto ended = [this, window] {
        const HeadlessDesktop::WindowState* state = desktop_.Find(window);
        return state == nullptr || state->ended;
    };
    if (!ended()) {
        const auto handler = desktop_.modalHandlers.find(dialog.templateId());
        if (handler != desktop_.modalHandlers.end()) {
            // A copy: the handler may replace itself.
            const std::function<void(Dialog&)> run = handler->second;
            run(dialog);
        }
    }
    if (!ended()) desktop_.SendCommand(window, kIdCancel);
    int result = kIdCancel;
    if (const HeadlessDesktop::WindowState* state = desktop_.Find(window);
        state != nullptr && state->ended) {
        result = state->result;
    }
    desktop_.Close(window);
    desktop_.modals.push_back({dialog.templateId(), owner, result});
    return result;
}

WindowId HeadlessDialogWindows::CreateModeless(Dialog& dialog, WindowId owner) {
    return desktop_.Open(dialog, owner, false);
}

bool HeadlessDialogWindows::EndDialog(WindowId window, int result) {
    HeadlessDesktop::WindowState* state = desktop_.Find(window);
    if (state == nullptr) return false;
    if (!state->ended) {
        state->ended = true;
        state->result = result;
    }
    return true;
}

bool HeadlessDialogWindows::DestroyWindow(WindowId window) {
    HeadlessDesktop::WindowState* state = desktop_.Find(window);
    if (state == nullptr) return false;
    if (state->modal) {
        // The modal run notices the end and destroys the window itself.
        EndDialog(window, 0);
        return true;
    }
    desktop_.Close(window);
    return true;
}

bool HeadlessDialogWindows::AddButton(WindowId window, int id, const Rect& rect,
                                      std::string_view text) {
    HeadlessDesktop::WindowState* state = desktop_.Find(window);
    if (state == nullptr || desktop_.FindControl(window, id) != nullptr) return false;
    HeadlessDesktop::ControlState button;
    button.id = id;
    button.className = "Button";
    button.style = kWsTabStop;
    button.text = text;
    button.rect = rect;
    state->controls.push_back(button);
    return true;
}

void HeadlessDialogWindows::SetTitle(WindowId window, std::string_view text) {
    if (HeadlessDesktop::WindowState* state = desktop_.Find(window)) state->title = text;
}

std::string HeadlessDialogWindows::Title(WindowId window) const {
    const HeadlessDesktop::WindowState* state = desktop_.Find(window);
    return state == nullptr ? std::string() : state->title;
}

void HeadlessDialogWindows::EnableWindow(WindowId window, bool enable) {
    if (HeadlessDesktop::WindowState* state = desktop_.Find(window)) state->enabled = enable;
}

bool HeadlessDialogWindows::IsWindowEnabled(WindowId window) const {
    const HeadlessDesktop::WindowState* state = desktop_.Find(window);
    return state != nullptr && state->enabled;
}

bool HeadlessDialogWindows::IsMinimized(WindowId window) const {
    const HeadlessDesktop::WindowState* state = desktop_.Find(window);
    return state != nullptr && state->minimized;
}

void HeadlessDialogWindows::SetIcon(WindowId window, IconHandle icon, bool big) {
    if (HeadlessDesktop::WindowState* state = desktop_.Find(window))
        (big ? state->bigIcon : state->smallIcon) = icon;
}

}  // namespace hw::ui
