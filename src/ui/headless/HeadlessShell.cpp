#include "ui/headless/HeadlessShell.h"

#include <algorithm>

namespace hw::ui {

namespace {

// The answer of a box nobody answered: its first button.
int FirstButton(std::uint32_t style) {
    const std::uint32_t buttons = style & 0xF;
    return buttons == 3 || buttons == kMbYesNo ? kIdYes : kIdOk;
}

}  // namespace

template <class Body>
auto HeadlessShell::RunOwned(WindowId owner, Body body) {
    HeadlessDesktop::WindowState* state = desktop_.Find(owner);
    const bool disabled = state != nullptr && state->enabled;
    if (disabled) state->enabled = false;
    auto answer = body();
    if (HeadlessDesktop::WindowState* after = desktop_.Find(owner); disabled && after != nullptr)
        after->enabled = true;
    return answer;
}

// A box without an owner is owned by the active window, as MessageBox is
// given GetActiveWindow().
int HeadlessShell::ShowMessageBox(WindowId owner, std::string_view text, std::string_view caption,
                                  std::uint32_t style) {
    desktop_.boxes.push_back({owner, std::string(text), std::string(caption), style});
    const WindowId disabled = owner != kNoWindow ? owner : desktop_.ActiveWindow();
    return RunOwned(disabled, [&] {
        if (!desktop_.boxAnswers.empty()) {
            const int answer = desktop_.boxAnswers.front();
            desktop_.boxAnswers.pop_front();
            return answer;
        }
        if (desktop_.boxHook) {
            const auto hook = desktop_.boxHook;
            return hook(desktop_.boxes.back());
        }
        return FirstButton(style);
    });
}

std::optional<std::string> HeadlessShell::ShowFileDialog(WindowId owner,
                                                         const FileDialogOptions& options) {
    desktop_.fileDialogs.push_back({owner, options});
    return RunOwned(owner, [&]() -> std::optional<std::string> {
        if (!desktop_.fileAnswers.empty()) {
            auto [answer, filter] = std::move(desktop_.fileAnswers.front());
            desktop_.fileAnswers.pop_front();
            if (answer && options.chosenFilter != nullptr) *options.chosenFilter = filter;
            return answer;
        }
        if (desktop_.fileHook) {
            const auto hook = desktop_.fileHook;
            return hook(desktop_.fileDialogs.back());
        }
        return std::nullopt;
    });
}

bool HeadlessShell::OpenDocument(WindowId, const std::string& path) {
    if (desktop_.openingDocumentsFails) return false;
    desktop_.documentsOpened.push_back(path);
    return true;
}

bool HeadlessShell::HasSystemMenu(WindowId window) const {
    const HeadlessDesktop::WindowState* state = desktop_.Find(window);
    return state != nullptr && state->hasSystemMenu;
}

void HeadlessShell::AppendSystemMenuSeparator(WindowId window) {
    HeadlessDesktop::WindowState* state = desktop_.Find(window);
    if (state != nullptr && state->hasSystemMenu) state->menu.push_back({0, ""});
}

void HeadlessShell::AppendSystemMenuItem(WindowId window, int commandId, std::string_view text) {
    HeadlessDesktop::WindowState* state = desktop_.Find(window);
    if (state != nullptr && state->hasSystemMenu) {
        state->menu.push_back({commandId, std::string(text)});
    }
}

std::string HeadlessShell::LoadStringResource(int id) const {
    const auto found = desktop_.resources.strings.find(id);
    return found == desktop_.resources.strings.end() ? std::string() : found->second;
}

IconHandle HeadlessShell::LoadIconResource(int id) const {
    return desktop_.resources.icons.contains(id) ? static_cast<IconHandle>(id) : 0;
}

}  // namespace hw::ui
