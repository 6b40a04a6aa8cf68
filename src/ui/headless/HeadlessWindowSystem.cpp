#include "ui/headless/HeadlessWindowSystem.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string_view>

namespace hw::ui {

namespace {

constexpr std::uint32_t kWsSysMenu = 0x00080000;
// Where every headless window's client area lies on the screen.
constexpr Point kClientOrigin{100, 50};

// MapDialogRect with the base units of an 8-point dialog font: 6 x 13.
Rect DialogUnitsToPixels(const Rect& du) {
    const auto x = [](int v) { return (v * 6 + 2) / 4; };
    const auto y = [](int v) { return (v * 13 + 4) / 8; };
    return {x(du.left), y(du.top), x(du.right), y(du.bottom)};
}

// Window class names compare without regard to case.
bool IsButton(const HeadlessWindowSystem::ControlState& c) {
    constexpr std::string_view kButton = "button";
    return std::equal(
        c.className.begin(), c.className.end(), kButton.begin(), kButton.end(),
        [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

bool IsPushButton(const HeadlessWindowSystem::ControlState& c) {
    const std::uint32_t kind = c.style & kBsTypeMask;
    return IsButton(c) && (kind == kBsPushButton || kind == kBsDefPushButton);
}

bool IsRadio(const HeadlessWindowSystem::ControlState& c) {
    const std::uint32_t kind = c.style & kBsTypeMask;
    return IsButton(c) && (kind == kBsRadioButton || kind == kBsAutoRadioButton);
}

// The answer of a box nobody answered: its first button.
int FirstButton(std::uint32_t style) {
    const std::uint32_t buttons = style & 0xF;
    return buttons == 3 || buttons == kMbYesNo ? kIdYes : kIdOk;
}

}  // namespace

struct HeadlessWindowSystem::WindowState {
    Dialog* dialog = nullptr;
    int templateId = 0;
    WindowId owner = kNoWindow;
    bool modal = false;
    bool ownerDisabled = false;  // this modal window disabled its owner
    bool ended = false;
    int result = 0;
    std::string title;
    bool enabled = true;
    bool minimized = false;
    bool hasSystemMenu = false;
    Rect client;
    Point origin = kClientOrigin;  // the client area's top left on the screen
    std::vector<ControlState> controls;
    std::vector<TimerState> timers;
    std::map<std::uintptr_t, std::uint64_t> timerDue;  // by timer id, on the clock
    std::optional<int> defaultId;                      // set by DM_SETDEFID
    int killTimerCalls = 0;
    std::vector<MenuItem> menu;
    IconHandle bigIcon = 0;
    IconHandle smallIcon = 0;
    std::optional<int> focus;
    int paintedIcons = 0;
    std::vector<Rect> grips;
    std::vector<std::optional<Rect>> invalidated;
};

HeadlessWindowSystem::HeadlessWindowSystem() : HeadlessWindowSystem(ProgramResources()) {}

HeadlessWindowSystem::HeadlessWindowSystem(const ResourceScript& resources)
    : resources_(resources) {}

HeadlessWindowSystem::~HeadlessWindowSystem() {
    // Dialogs still up lose their windows (their objects may outlive us).
    for (auto& [id, state] : windows_) state->dialog->HandleDestroyed();
}

// --- Set-up ----------------------------------------------------------------

void HeadlessWindowSystem::OnModal(int templateId, std::function<void(Dialog&)> handler) {
    if (handler) {
        modalHandlers_[templateId] = std::move(handler);
    } else {
        modalHandlers_.erase(templateId);
    }
}

void HeadlessWindowSystem::QueueBoxAnswer(int answer) {
    boxAnswers_.push_back(answer);
}

void HeadlessWindowSystem::OnBox(std::function<int(const BoxRecord&)> hook) {
    boxHook_ = std::move(hook);
}

void HeadlessWindowSystem::OnFileDialog(
    std::function<std::optional<std::string>(const FileDialogRecord&)> hook) {
    fileHook_ = std::move(hook);
}

void HeadlessWindowSystem::QueueFileAnswer(std::optional<std::string> path, int filter) {
    fileAnswers_.emplace_back(std::move(path), filter);
}

void HeadlessWindowSystem::OnPump(std::function<void()> hook) {
    pumpHook_ = std::move(hook);
}

void HeadlessWindowSystem::UseClock(std::function<std::uint64_t()> nowMs) {
    clock_ = std::move(nowMs);
}

void HeadlessWindowSystem::FailNextCreate(int templateId) {
    failCreates_.push_back(templateId);
}

// --- Windows ---------------------------------------------------------------

HeadlessWindowSystem::WindowState* HeadlessWindowSystem::Find(WindowId window) const {
    const auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : found->second.get();
}

HeadlessWindowSystem::ControlState* HeadlessWindowSystem::FindControl(WindowId window,
                                                                      int id) const {
    WindowState* state = Find(window);
    if (state == nullptr) return nullptr;
    for (ControlState& control : state->controls) {
        if (control.id == id) return &control;
    }
    return nullptr;
}

WindowId HeadlessWindowSystem::Open(Dialog& dialog, WindowId owner, bool modal) {
    const auto failing = std::find(failCreates_.begin(), failCreates_.end(), dialog.templateId());
    if (failing != failCreates_.end()) {
        failCreates_.erase(failing);
        return kNoWindow;
    }
    const auto found = resources_.dialogs.find(dialog.templateId());
    if (found == resources_.dialogs.end()) return kNoWindow;
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
    const WindowId window = nextWindow_++;
    windows_[window] = std::move(state);
    if (modal) {
        WindowState* ownerState = Find(owner);
        if (ownerState != nullptr && ownerState->enabled) {
            ownerState->enabled = false;
            windows_[window]->ownerDisabled = true;
        }
    }
    // As the dialog manager does, a true result puts the focus on the first
    // tab stop that takes it.
    if (dialog.HandleInitDialog(window)) {
        if (WindowState* opened = Find(window)) opened->focus = FirstTabStop(*opened);
    }
    return window;
}

void HeadlessWindowSystem::Close(WindowId window) {
    const auto found = windows_.find(window);
    if (found == windows_.end()) return;
    std::unique_ptr<WindowState> state = std::move(found->second);
    windows_.erase(found);
    std::erase_if(posted_, [window](const auto& p) { return p.first == window; });
    if (state->ownerDisabled) {
        if (WindowState* owner = Find(state->owner)) owner->enabled = true;
    }
    state->dialog->HandleDestroyed();
}

int HeadlessWindowSystem::RunModal(Dialog& dialog, WindowId owner) {
    const WindowId window = Open(dialog, owner, true);
    if (window == kNoWindow) return -1;
    const auto ended = [this, window] {
        const WindowState* state = Find(window);
        return state == nullptr || state->ended;
    };
    if (!ended()) {
        const auto handler = modalHandlers_.find(dialog.templateId());
        if (handler != modalHandlers_.end()) {
            // A copy: the handler may replace itself.
            const std::function<void(Dialog&)> run = handler->second;
            run(dialog);
        }
    }
    if (!ended()) SendCommand(window, kIdCancel);
    int result = kIdCancel;
    if (const WindowState* state = Find(window); state != nullptr && state->ended) {
        result = state->result;
    }
    Close(window);
    modals_.push_back({dialog.templateId(), owner, result});
    return result;
}

WindowId HeadlessWindowSystem::CreateModeless(Dialog& dialog, WindowId owner) {
    return Open(dialog, owner, false);
}

bool HeadlessWindowSystem::EndDialog(WindowId window, int result) {
    WindowState* state = Find(window);
    if (state == nullptr) return false;
    if (!state->ended) {
        state->ended = true;
        state->result = result;
    }
    return true;
}

bool HeadlessWindowSystem::DestroyWindow(WindowId window) {
    WindowState* state = Find(window);
    if (state == nullptr) return false;
    if (state->modal) {
        // The modal run notices the end and destroys the window itself.
        EndDialog(window, 0);
        return true;
    }
    Close(window);
    return true;
}

void HeadlessWindowSystem::SetTitle(WindowId window, std::string_view text) {
    if (WindowState* state = Find(window)) state->title = text;
}

std::string HeadlessWindowSystem::Title(WindowId window) const {
    const WindowState* state = Find(window);
    return state == nullptr ? std::string() : state->title;
}

void HeadlessWindowSystem::EnableWindow(WindowId window, bool enable) {
    if (WindowState* state = Find(window)) state->enabled = enable;
}

bool HeadlessWindowSystem::IsWindowEnabled(WindowId window) const {
    const WindowState* state = Find(window);
    return state != nullptr && state->enabled;
}

bool HeadlessWindowSystem::IsMinimized(WindowId window) const {
    const WindowState* state = Find(window);
    return state != nullptr && state->minimized;
}

void HeadlessWindowSystem::SetIcon(WindowId window, IconHandle icon, bool big) {
    if (WindowState* state = Find(window)) (big ? state->bigIcon : state->smallIcon) = icon;
}

// --- Items -------------------------------------------------------------------

bool HeadlessWindowSystem::HasItem(WindowId window, int id) const {
    return FindControl(window, id) != nullptr;
}

void HeadlessWindowSystem::SetItemText(WindowId window, int id, std::string_view text) {
    if (ControlState* c = FindControl(window, id)) c->text = text;
}

std::string HeadlessWindowSystem::ItemText(WindowId window, int id) const {
    const ControlState* c = FindControl(window, id);
    return c == nullptr ? std::string() : c->text;
}

void HeadlessWindowSystem::EnableItem(WindowId window, int id, bool enable) {
    if (ControlState* c = FindControl(window, id)) c->enabled = enable;
}

bool HeadlessWindowSystem::IsItemEnabled(WindowId window, int id) const {
    const ControlState* c = FindControl(window, id);
    return c != nullptr && c->enabled;
}

void HeadlessWindowSystem::ShowItem(WindowId window, int id, bool show) {
    if (ControlState* c = FindControl(window, id)) c->visible = show;
}

bool HeadlessWindowSystem::IsItemVisible(WindowId window, int id) const {
    const ControlState* c = FindControl(window, id);
    return c != nullptr && c->visible;
}

void HeadlessWindowSystem::CheckItem(WindowId window, int id, bool checked) {
    SetItemCheckState(window, id, checked ? CheckState::Checked : CheckState::Unchecked);
}

bool HeadlessWindowSystem::IsItemChecked(WindowId window, int id) const {
    return ItemCheckState(window, id) == CheckState::Checked;
}

void HeadlessWindowSystem::SetItemCheckState(WindowId window, int id, CheckState state) {
    if (ControlState* c = FindControl(window, id)) {
        c->checked = state == CheckState::Checked;
        c->indeterminate = state == CheckState::Indeterminate;
    }
}

CheckState HeadlessWindowSystem::ItemCheckState(WindowId window, int id) const {
    const ControlState* c = FindControl(window, id);
    if (c == nullptr) return CheckState::Unchecked;
    if (c->indeterminate) return CheckState::Indeterminate;
    return c->checked ? CheckState::Checked : CheckState::Unchecked;
}

void HeadlessWindowSystem::FocusItem(WindowId window, int id) {
    WindowState* state = Find(window);
    if (state != nullptr && HasItem(window, id)) state->focus = id;
}

std::vector<int> HeadlessWindowSystem::RadioGroup(WindowId window, int firstId) const {
    std::vector<int> group;
    const WindowState* state = Find(window);
    if (state == nullptr) return group;
    const auto& controls = state->controls;
    const auto first = std::find_if(controls.begin(), controls.end(),
                                    [firstId](const ControlState& c) { return c.id == firstId; });
    if (first == controls.end() || !IsRadio(*first)) return group;
    group.push_back(firstId);
    for (auto c = first + 1; c != controls.end() && (c->style & kWsGroup) == 0; ++c) {
        if (IsRadio(*c)) group.push_back(c->id);
    }
    return group;
}

void HeadlessWindowSystem::SetProgressRange(WindowId window, int id, int lower, int upper) {
    if (ControlState* c = FindControl(window, id)) {
        c->rangeLower = lower;
        c->rangeUpper = upper;
    }
}

void HeadlessWindowSystem::SetProgressPos(WindowId window, int id, int pos) {
    if (ControlState* c = FindControl(window, id)) c->pos = pos;
}

// --- Geometry and painting -------------------------------------------------------

Rect HeadlessWindowSystem::ClientRect(WindowId window) const {
    const WindowState* state = Find(window);
    return state == nullptr ? Rect{} : state->client;
}

Rect HeadlessWindowSystem::WindowRect(WindowId window) const {
    const WindowState* state = Find(window);
    if (state == nullptr) return {};
    const Point at = state->origin;
    return {at.x, at.y, at.x + state->client.Width(), at.y + state->client.Height()};
}

void HeadlessWindowSystem::MoveWindowTo(WindowId window, Point screen) {
    if (WindowState* state = Find(window)) state->origin = screen;
}

void HeadlessWindowSystem::PlaceWindow(WindowId window, const Rect& screen) {
    WindowState* state = Find(window);
    if (state == nullptr) return;
    state->origin = {screen.left, screen.top};
    if (screen.Width() != state->client.Width() || screen.Height() != state->client.Height())
        Resize(window, screen.Width(), screen.Height());
}

bool HeadlessWindowSystem::AddButton(WindowId window, int id, const Rect& rect,
                                     std::string_view text) {
    WindowState* state = Find(window);
    if (state == nullptr || HasItem(window, id)) return false;
    ControlState button;
    button.id = id;
    button.className = "Button";
    button.style = kWsTabStop;
    button.text = text;
    button.rect = rect;
    state->controls.push_back(button);
    return true;
}

std::optional<Rect> HeadlessWindowSystem::ItemRect(WindowId window, int id) const {
    const ControlState* c = FindControl(window, id);
    if (c == nullptr) return std::nullopt;
    return c->rect;
}

void HeadlessWindowSystem::MoveItem(WindowId window, int id, const Rect& rect, bool) {
    if (ControlState* c = FindControl(window, id)) c->rect = rect;
}

Point HeadlessWindowSystem::ScreenToClient(WindowId window, Point screen) const {
    const WindowState* state = Find(window);
    const Point at = state == nullptr ? kClientOrigin : state->origin;
    return {screen.x - at.x, screen.y - at.y};
}

void HeadlessWindowSystem::Invalidate(WindowId window, const std::optional<Rect>& rect, bool) {
    if (WindowState* state = Find(window)) state->invalidated.push_back(rect);
}

void HeadlessWindowSystem::PaintMinimizedIcon(WindowId window, IconHandle) {
    if (WindowState* state = Find(window)) ++state->paintedIcons;
}

void HeadlessWindowSystem::PaintSizeGrip(WindowId window, const Rect& rect) {
    if (WindowState* state = Find(window)) state->grips.push_back(rect);
}

// The headless windows have no pixels; what a chart shows is tested on its
// own and on real windows.
void HeadlessWindowSystem::PaintChart(WindowId, const Chart&) {}

// The 8-point dialog font at 96 dots per inch: 13 pixels a line and, as its
// base unit says, 6 pixels a character at the most.
Size HeadlessWindowSystem::MeasureText(WindowId, std::string_view text) const {
    return {static_cast<int>(text.size()) * 6, 13};
}

// --- Messages and timers -----------------------------------------------------------

std::optional<std::intptr_t> HeadlessWindowSystem::Dispatch(WindowId window,
                                                            const Message& message) {
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

std::intptr_t HeadlessWindowSystem::Send(WindowId window, const Message& message) {
    return Dispatch(window, message).value_or(0);
}

bool HeadlessWindowSystem::Post(WindowId window, const Message& message) {
    if (Find(window) == nullptr) return false;
    posted_.emplace_back(window, message);
    return true;
}

std::uintptr_t HeadlessWindowSystem::SetTimer(WindowId window, std::uintptr_t id,
                                              std::uint32_t ms) {
    WindowState* state = Find(window);
    if (state == nullptr || failTimers_ || id == 0) return 0;
    const auto running = std::find_if(state->timers.begin(), state->timers.end(),
                                      [id](const TimerState& t) { return t.id == id; });
    if (running != state->timers.end()) {
        running->ms = ms;
    } else {
        state->timers.push_back({id, ms});
    }
    state->timerDue[id] = clock_ ? clock_() + ms : 0;
    return id;
}

bool HeadlessWindowSystem::KillTimer(WindowId window, std::uintptr_t id) {
    WindowState* state = Find(window);
    if (state == nullptr) return false;
    ++state->killTimerCalls;
    state->timerDue.erase(id);
    return std::erase_if(state->timers, [id](const TimerState& t) { return t.id == id; }) > 0;
}

void HeadlessWindowSystem::PumpMessages(WindowId) {
    DeliverPosted();
    DeliverDueTimers();
    if (pumpHook_) {
        const std::function<void()> hook = pumpHook_;
        hook();
    }
}

// --- Shell services and resources -----------------------------------------------------

WindowId HeadlessWindowSystem::ActiveWindow() const {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
        if (it->second->enabled) return it->first;
    }
    return kNoWindow;
}

template <class Body>
auto HeadlessWindowSystem::RunOwned(WindowId owner, Body body) {
    WindowState* state = Find(owner);
    const bool disabled = state != nullptr && state->enabled;
    if (disabled) state->enabled = false;
    auto answer = body();
    if (WindowState* after = Find(owner); disabled && after != nullptr) after->enabled = true;
    return answer;
}

// A box without an owner is owned by the active window, as MessageBox is
// given GetActiveWindow().
int HeadlessWindowSystem::ShowMessageBox(WindowId owner, std::string_view text,
                                         std::string_view caption, std::uint32_t style) {
    boxes_.push_back({owner, std::string(text), std::string(caption), style});
    const WindowId disabled = owner != kNoWindow ? owner : ActiveWindow();
    return RunOwned(disabled, [&] {
        if (!boxAnswers_.empty()) {
            const int answer = boxAnswers_.front();
            boxAnswers_.pop_front();
            return answer;
        }
        if (boxHook_) {
            const auto hook = boxHook_;
            return hook(boxes_.back());
        }
        return FirstButton(style);
    });
}

std::optional<std::string> HeadlessWindowSystem::ShowFileDialog(WindowId owner,
                                                                const FileDialogOptions& options) {
    fileDialogs_.push_back({owner, options});
    return RunOwned(owner, [&]() -> std::optional<std::string> {
        if (!fileAnswers_.empty()) {
            auto [answer, filter] = std::move(fileAnswers_.front());
            fileAnswers_.pop_front();
            if (answer && options.chosenFilter != nullptr) *options.chosenFilter = filter;
            return answer;
        }
        if (fileHook_) {
            const auto hook = fileHook_;
            return hook(fileDialogs_.back());
        }
        return std::nullopt;
    });
}

bool HeadlessWindowSystem::OpenDocument(WindowId, const std::string& path) {
    if (openingDocumentsFails_) return false;
    documentsOpened_.push_back(path);
    return true;
}

bool HeadlessWindowSystem::HasSystemMenu(WindowId window) const {
    const WindowState* state = Find(window);
    return state != nullptr && state->hasSystemMenu;
}

void HeadlessWindowSystem::AppendSystemMenuSeparator(WindowId window) {
    WindowState* state = Find(window);
    if (state != nullptr && state->hasSystemMenu) state->menu.push_back({0, ""});
}

void HeadlessWindowSystem::AppendSystemMenuItem(WindowId window, int commandId,
                                                std::string_view text) {
    WindowState* state = Find(window);
    if (state != nullptr && state->hasSystemMenu) {
        state->menu.push_back({commandId, std::string(text)});
    }
}

std::string HeadlessWindowSystem::LoadStringResource(int id) const {
    const auto found = resources_.strings.find(id);
    return found == resources_.strings.end() ? std::string() : found->second;
}

IconHandle HeadlessWindowSystem::LoadIconResource(int id) const {
    return resources_.icons.contains(id) ? static_cast<IconHandle>(id) : 0;
}

WorkerThread HeadlessWindowSystem::StartThread(std::function<void()> body) {
    if (inlineThreads_) {
        body();
        return {};
    }
    return WorkerThread(std::thread(std::move(body)));
}

// --- What a test does ------------------------------------------------------------------

bool HeadlessWindowSystem::Click(WindowId window, int id) {
    const WindowState* state = Find(window);
    ControlState* control = FindControl(window, id);
    if (state == nullptr || !state->enabled || control == nullptr || !control->enabled ||
        !control->visible) {
        return false;
    }
    // A button takes the focus from the mouse.
    if (IsButton(*control)) FocusItem(window, id);
    const std::uint32_t kind = control->style & kBsTypeMask;
    if (IsButton(*control) && kind == kBsAutoRadioButton) {
        // The group that holds the button: from the nearest group start back.
        auto start = state->controls.begin() + (control - state->controls.data());
        while (start != state->controls.begin() && (start->style & kWsGroup) == 0) --start;
        for (int member : RadioGroup(window, start->id)) CheckItem(window, member, member == id);
        control->checked = true;
    } else if (IsButton(*control) && kind == kBsAutoCheckBox) {
        control->checked = !control->checked;
    } else if (IsButton(*control) && kind == kBsAuto3State) {
        const auto next = (static_cast<int>(ItemCheckState(window, id)) + 1) % 3;
        SetItemCheckState(window, id, static_cast<CheckState>(next));
    }
    Dispatch(window, {kWmCommand, CommandParam(id), 0});
    return true;
}

std::optional<std::intptr_t> HeadlessWindowSystem::SendCommand(WindowId window, int id,
                                                               std::uint16_t code) {
    return Dispatch(window, {kWmCommand, CommandParam(id, code), 0});
}

void HeadlessWindowSystem::Type(WindowId window, int id, std::string_view text) {
    FocusItem(window, id);
    SetItemText(window, id, text);
}

void HeadlessWindowSystem::PressEnter(WindowId window) {
    if (!TakesKey(window, kVkReturn)) return;
    const WindowState* state = Find(window);
    if (state->focus) {
        const ControlState* focused = FindControl(window, *state->focus);
        if (focused != nullptr && IsPushButton(*focused)) {
            SendCommand(window, focused->id);
            return;
        }
    }
    const auto answer = static_cast<std::uint32_t>(Send(window, {kDmGetDefId, 0, 0}));
    if ((answer >> 16) != kDcHasDefId) {
        SendCommand(window, kIdOk);
        return;
    }
    const int id = static_cast<int>(answer & 0xFFFF);
    const ControlState* button = FindControl(window, id);
    if (button == nullptr || button->enabled) SendCommand(window, id);
}

void HeadlessWindowSystem::PressEscape(WindowId window) {
    if (TakesKey(window, kVkEscape)) SendCommand(window, kIdCancel);
}

bool HeadlessWindowSystem::TakesKey(WindowId window, std::uintptr_t key) {
    const WindowState* state = Find(window);
    // A disabled window gets no keystrokes.
    if (state == nullptr || !state->enabled) return false;
    return !state->dialog->PreTranslateMessage({kWmKeyDown, key, 0});
}

std::intptr_t HeadlessWindowSystem::DefaultButtonAnswer(const WindowState& state) const {
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

std::optional<int> HeadlessWindowSystem::FirstTabStop(const WindowState& state) {
    for (const ControlState& c : state.controls) {
        if ((c.style & kWsTabStop) != 0 && c.enabled && c.visible) return c.id;
    }
    return std::nullopt;
}

void HeadlessWindowSystem::DeliverDueTimers() {
    if (!clock_) return;
    const std::uint64_t now = clock_();
    std::vector<std::pair<WindowId, std::uintptr_t>> due;
    for (auto& [window, state] : windows_) {
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

void HeadlessWindowSystem::PressCloseBox(WindowId window) {
    Dispatch(window, {kWmSysCommand, kScClose, 0});
}

bool HeadlessWindowSystem::FireTimer(WindowId window, std::uintptr_t id) {
    const WindowState* state = Find(window);
    if (state == nullptr) return false;
    const bool running = std::any_of(state->timers.begin(), state->timers.end(),
                                     [id](const TimerState& t) { return t.id == id; });
    if (!running) return false;
    Dispatch(window, {kWmTimer, id, 0});
    return true;
}

void HeadlessWindowSystem::DeliverPosted() {
    while (!posted_.empty()) {
        const auto [window, message] = posted_.front();
        posted_.pop_front();
        Dispatch(window, message);
    }
}

void HeadlessWindowSystem::Resize(WindowId window, int width, int height) {
    WindowState* state = Find(window);
    if (state == nullptr) return;
    state->client = {0, 0, width, height};
    const auto size = static_cast<std::intptr_t>((height & 0xFFFF) << 16 | (width & 0xFFFF));
    Dispatch(window, {kWmSize, 0, size});
}

void HeadlessWindowSystem::SetMinimized(WindowId window, bool minimized) {
    if (WindowState* state = Find(window)) state->minimized = minimized;
}

void HeadlessWindowSystem::RemoveItem(WindowId window, int id) {
    if (WindowState* state = Find(window)) {
        std::erase_if(state->controls, [id](const ControlState& c) { return c.id == id; });
    }
}

// --- What a test inspects ----------------------------------------------------------------

bool HeadlessWindowSystem::IsUp(WindowId window) const {
    const WindowState* state = Find(window);
    return state != nullptr && !state->ended;
}

Dialog* HeadlessWindowSystem::FindDialog(int templateId) const {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
        if (it->second->templateId == templateId && !it->second->ended) return it->second->dialog;
    }
    return nullptr;
}

const HeadlessWindowSystem::ControlState* HeadlessWindowSystem::FindItem(WindowId window,
                                                                         int id) const {
    return FindControl(window, id);
}

const HeadlessWindowSystem::ControlState& HeadlessWindowSystem::Item(WindowId window,
                                                                     int id) const {
    const ControlState* c = FindControl(window, id);
    if (c == nullptr) {
        throw std::out_of_range("no item " + std::to_string(id) + " in window " +
                                std::to_string(window));
    }
    return *c;
}

std::vector<const HeadlessWindowSystem::ControlState*> HeadlessWindowSystem::Items(
    WindowId window) const {
    std::vector<const ControlState*> items;
    if (const WindowState* state = Find(window)) {
        for (const ControlState& c : state->controls) items.push_back(&c);
    }
    return items;
}

std::vector<HeadlessWindowSystem::TimerState> HeadlessWindowSystem::ActiveTimers(
    WindowId window) const {
    const WindowState* state = Find(window);
    return state == nullptr ? std::vector<TimerState>() : state->timers;
}

int HeadlessWindowSystem::KillTimerCalls(WindowId window) const {
    const WindowState* state = Find(window);
    return state == nullptr ? 0 : state->killTimerCalls;
}

std::vector<HeadlessWindowSystem::MenuItem> HeadlessWindowSystem::SystemMenu(
    WindowId window) const {
    const WindowState* state = Find(window);
    return state == nullptr ? std::vector<MenuItem>() : state->menu;
}

IconHandle HeadlessWindowSystem::Icon(WindowId window, bool big) const {
    const WindowState* state = Find(window);
    if (state == nullptr) return 0;
    return big ? state->bigIcon : state->smallIcon;
}

std::optional<int> HeadlessWindowSystem::FocusedItem(WindowId window) const {
    const WindowState* state = Find(window);
    return state == nullptr ? std::nullopt : state->focus;
}

int HeadlessWindowSystem::PaintedIcons(WindowId window) const {
    const WindowState* state = Find(window);
    return state == nullptr ? 0 : state->paintedIcons;
}

std::vector<Rect> HeadlessWindowSystem::PaintedGrips(WindowId window) const {
    const WindowState* state = Find(window);
    return state == nullptr ? std::vector<Rect>() : state->grips;
}

std::vector<std::optional<Rect>> HeadlessWindowSystem::Invalidated(WindowId window) const {
    const WindowState* state = Find(window);
    return state == nullptr ? std::vector<std::optional<Rect>>() : state->invalidated;
}

}  // namespace hw::ui
