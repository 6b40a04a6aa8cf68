#include "ui/headless/HeadlessDesktop.h"

#include <algorithm>
#include <cctype>

#include "ui/Dialog.h"

namespace hw::ui {

namespace {

constexpr std::uint32_t kWsSysMenu = 0x00080000;

// MapDialogRect with the base units of an 8-point dialog font: 6 x 13.
Rect DialogUnitsToPixels(const Rect& du) {
    const auto x = [](int v) { return (v * 6 + 2) / 4; };
    const auto y = [](int v) { return (v * 13 + 4) / 8; };
    return {x(du.left), y(du.top), x(du.right), y(du.bottom)};
}

}  // namespace

// Window class names compare without regard to case.
bool IsButton(const HeadlessDesktop::ControlState& c) {
    constexpr std::string_view kButton = "button";
    return std::equal(
        c.className.begin(), c.className.end(), kButton.begin(), kButton.end(),
        [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

bool IsPushButton(const HeadlessDesktop::ControlState& c) {
    const std::uint32_t kind = c.style & kBsTypeMask;
    return IsButton(c) && (kind == kBsPushButton || kind == kBsDefPushButton);
}

bool IsRadio(const HeadlessDesktop::ControlState& c) {
    const std::uint32_t kind = c.style & kBsTypeMask;
    return IsButton(c) && (kind == kBsRadioButton || kind == kBsAutoRadioButton);
}

HeadlessDesktop::HeadlessDesktop(const ResourceScript& script) : resources(script) {}

HeadlessDesktop::~HeadlessDesktop() {
    // Dialogs still up lose their windows (their objects may outlive us).
    for (auto& [id, state] : windows) state->dialog->HandleDestroyed();
}

HeadlessDesktop::WindowState* HeadlessDesktop::Find(WindowId window) const {
    const auto found = windows.find(window);
    return found == windows.end() ? nullptr : found->second.get();
}

HeadlessDesktop::ControlState* HeadlessDesktop::FindControl(WindowId window, int id) const {
    WindowState* state = Find(window);
    if (state == nullptr) return nullptr;
    for (ControlState& control : state->controls) {
        if (control.id == id) return &control;
    }
    return nullptr;
}

WindowId HeadlessDesktop::Open(Dialog& dialog, WindowId owner, bool modal) {
    const auto failing = std::find(failCreates.begin(), failCreates.end(), dialog.templateId());
    if (failing != failCreates.end()) {
        failCreates.erase(failing);
        return kNoWindow;
    }
    const auto found = resources.dialogs.find(dialog.templateId());
    if (found == resources.dialogs.end()) return kNoWindow;
    const DialogTemplate& tmpl = found->second;

    auto state = std::make_unique<WindowState>();
    state->dialog = &dialog;
    state->templateId = tmpl.id;
    state->owner = owner;
    state->modal = modal;
    state->title = tmpl.caption;
    state->enabled = (tmpl.style & kWsDisabled) == 0;
    state->hasSystemMenu = (tmpl.style & kWsSysMenu) != 0;
    const Rect size = DialogUnitsToPixels({0, 0, tmpl.rect.Width(), tmpl.rect.Height()});
    state->client = size;
    for (const ControlTemplate& c : tmpl.controls) {
        ControlState& control = state->controls.emplace_back();
        control.id = c.id;
        control.className = c.className;
        control.style = c.style;
        control.text = c.text;
        control.enabled = (c.style & kWsDisabled) == 0;
        control.visible = (c.style & kWsVisible) != 0;
        control.rect = DialogUnitsToPixels(c.rect);
    }
    const WindowId window = nextWindow++;
    windows[window] = std::move(state);
    if (modal) {
        WindowState* ownerState = Find(owner);
        if (ownerState != nullptr && ownerState->enabled) {
            ownerState->enabled = false;
            windows[window]->ownerDisabled = true;
        }
    }
    if (createHook) createHook(dialog.templateId());
    // As the dialog manager does, a true result puts the focus on the first
    // tab stop that takes it.
    if (dialog.HandleInitDialog(window)) {
        if (WindowState* opened = Find(window)) opened->focus = FirstTabStop(*opened);
    }
    return window;
}

void HeadlessDesktop::Close(WindowId window) {
    const auto found = windows.find(window);
    if (found == windows.end()) return;
    std::unique_ptr<WindowState> state = std::move(found->second);
    windows.erase(found);
    std::erase_if(posted, [window](const auto& p) { return p.first == window; });
    if (state->ownerDisabled) {
        if (WindowState* owner = Find(state->owner)) owner->enabled = true;
    }
    state->dialog->HandleDestroyed();
}

std::optional<std::intptr_t> HeadlessDesktop::Dispatch(WindowId window, const Message& message) {
    WindowState* state = Find(window);
    if (state == nullptr) return std::nullopt;
    const std::optional<std::intptr_t> result = state->dialog->HandleMessage(message);
    if (result) return result;
    if (message.message == kDmGetDefId) return DefaultButtonAnswer(*state);
    if (message.message == kDmSetDefId) {
        state->defaultId = static_cast<int>(message.wParam & 0xFFFF);
        return 1;
    }
    // The default processing: the close command becomes WM_CLOSE, which the
    // dialog manager turns into IDCANCEL.
    if (message.message == kWmSysCommand && (message.wParam & 0xFFF0) == kScClose) {
        Dispatch(window, {kWmClose, 0, 0});
    } else if (message.message == kWmClose) {
        Dispatch(window, {kWmCommand, CommandParam(kIdCancel), 0});
    }
    return std::nullopt;
}

WindowId HeadlessDesktop::ActiveWindow() const {
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if (it->second->enabled) return it->first;
    }
    return kNoWindow;
}

std::optional<std::intptr_t> HeadlessDesktop::SendCommand(WindowId window, int id,
                                                          std::uint16_t code) {
    return Dispatch(window, {kWmCommand, CommandParam(id, code), 0});
}

std::intptr_t HeadlessDesktop::DefaultButtonAnswer(const WindowState& state) const {
    std::optional<int> id = state.defaultId;
    if (!id) {
        const auto found =
            std::find_if(state.controls.begin(), state.controls.end(), [](const ControlState& c) {
                return IsButton(c) && (c.style & kBsTypeMask) == kBsDefPushButton;
            });
        if (found != state.controls.end()) id = found->id;
    }
    if (!id) return 0;
    return static_cast<std::intptr_t>(std::uint32_t{kDcHasDefId} << 16 |
                                      static_cast<std::uint32_t>(*id & 0xFFFF));
}

std::optional<int> HeadlessDesktop::FirstTabStop(const WindowState& state) {
    for (const ControlState& c : state.controls) {
        if ((c.style & kWsTabStop) != 0 && c.enabled && c.visible) return c.id;
    }
    return std::nullopt;
}

void HeadlessDesktop::DeliverDueTimers() {
    if (!clock) return;
    const std::uint64_t now = clock();
    std::vector<std::pair<WindowId, std::uintptr_t>> due;
    for (auto& [window, state] : windows) {
        for (const TimerState& timer : state->timers) {
            std::uint64_t& next = state->timerDue[timer.id];
            if (next > now) continue;
            next = now + timer.ms;
            due.emplace_back(window, timer.id);
        }
    }
    // A handler may kill a timer or close a window: each one is looked up.
    for (const auto& [window, id] : due) FireTimer(window, id);
}

bool HeadlessDesktop::FireTimer(WindowId window, std::uintptr_t id) {
    const WindowState* state = Find(window);
    if (state == nullptr) return false;
    const bool running = std::any_of(state->timers.begin(), state->timers.end(),
                                     [id](const TimerState& t) { return t.id == id; });
    if (!running) return false;
    Dispatch(window, {kWmTimer, id, 0});
    return true;
}

void HeadlessDesktop::DeliverPosted() {
    while (!posted.empty()) {
        const auto [window, message] = posted.front();
        posted.pop_front();
        Dispatch(window, message);
    }
}

void HeadlessDesktop::Resize(WindowId window, int width, int height) {
    WindowState* state = Find(window);
    if (state == nullptr) return;
    state->client = {0, 0, width, height};
    const auto size = static_cast<std::intptr_t>((height & 0xFFFF) << 16 | (width & 0xFFFF));
    Dispatch(window, {kWmSize, 0, size});
}

}  // namespace hw::ui
