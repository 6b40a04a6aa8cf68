#include "ui/Dialog.h"

#include "ui/Application.h"
#include "ui/DataExchange.h"
#include "ui/WindowSystem.h"

namespace hw::ui {

Dialog::Dialog(Application& app, int templateId) : app_(app), templateId_(templateId) {}

Dialog::~Dialog() {
    if (window_ != kNoWindow) windows().DestroyWindow(window_);
}

WindowSystem& Dialog::windows() const {
    return app_.windows();
}

int Dialog::DoModal() {
    const Dialog* main = app_.mainWindow();
    const WindowId owner = main != nullptr && main != this ? main->window() : kNoWindow;
    return DoModal(owner);
}

int Dialog::DoModal(WindowId owner) {
    return windows().RunModal(*this, owner);
}

bool Dialog::Create(WindowId owner) {
    return windows().CreateModeless(*this, owner) != kNoWindow;
}

bool Dialog::DestroyWindow() {
    if (window_ == kNoWindow) return false;
    return windows().DestroyWindow(window_);
}

void Dialog::EndDialog(int result) {
    windows().EndDialog(window_, result);
}

bool Dialog::UpdateData(bool saveAndValidate) {
    if (window_ == kNoWindow) return false;
    DataExchange dx(windows(), window_, saveAndValidate);
    DoDataExchange(dx);
    return !dx.failed();
}

void Dialog::SetTitle(std::string_view text) {
    windows().SetTitle(window_, text);
}
std::string Dialog::Title() const {
    return windows().Title(window_);
}
void Dialog::EnableWindow(bool enable) {
    windows().EnableWindow(window_, enable);
}
bool Dialog::IsWindowEnabled() const {
    return windows().IsWindowEnabled(window_);
}
bool Dialog::IsMinimized() const {
    return windows().IsMinimized(window_);
}
void Dialog::SetIcon(IconHandle icon, bool big) {
    windows().SetIcon(window_, icon, big);
}

std::uintptr_t Dialog::SetTimer(std::uintptr_t id, std::uint32_t ms) {
    return windows().SetTimer(window_, id, ms);
}

bool Dialog::KillTimer(std::uintptr_t id) {
    return windows().KillTimer(window_, id);
}

int Dialog::ShowMessageBox(std::string_view text, std::string_view caption, std::uint32_t style) {
    if (caption.empty()) caption = app_.programName();
    const int answer = windows().ShowMessageBox(window_, text, caption, style);
    app_.NoteBox({text, style, answer});
    return answer;
}

std::intptr_t Dialog::Send(const Message& message) {
    return windows().Send(window_, message);
}
bool Dialog::Post(const Message& message) {
    return windows().Post(window_, message);
}
Rect Dialog::ClientRect() const {
    return windows().ClientRect(window_);
}
Rect Dialog::WindowRect() const {
    return windows().WindowRect(window_);
}
void Dialog::MoveWindowTo(Point screen) {
    windows().MoveWindowTo(window_, screen);
}
Rect Dialog::WorkArea() const {
    return windows().WorkArea(window_);
}
Point Dialog::ScreenToClient(Point screen) const {
    return windows().ScreenToClient(window_, screen);
}
void Dialog::Invalidate(const std::optional<Rect>& rect, bool erase) {
    windows().Invalidate(window_, rect, erase);
}

bool Dialog::HasItem(int id) const {
    return windows().HasItem(window_, id);
}
void Dialog::SetItemText(int id, std::string_view text) {
    windows().SetItemText(window_, id, text);
}
std::string Dialog::ItemText(int id) const {
    return windows().ItemText(window_, id);
}
void Dialog::EnableItem(int id, bool enable) {
    windows().EnableItem(window_, id, enable);
}
bool Dialog::IsItemEnabled(int id) const {
    return windows().IsItemEnabled(window_, id);
}
void Dialog::ShowItem(int id, bool show) {
    windows().ShowItem(window_, id, show);
}
bool Dialog::IsItemVisible(int id) const {
    return windows().IsItemVisible(window_, id);
}
void Dialog::CheckItem(int id, bool checked) {
    windows().CheckItem(window_, id, checked);
}
bool Dialog::IsItemChecked(int id) const {
    return windows().IsItemChecked(window_, id);
}
void Dialog::SetItemCheckState(int id, CheckState state) {
    windows().SetItemCheckState(window_, id, state);
}
CheckState Dialog::ItemCheckState(int id) const {
    return windows().ItemCheckState(window_, id);
}
void Dialog::FocusItem(int id) {
    windows().FocusItem(window_, id);
}

void Dialog::UseFixedPitchFont(int id) {
    windows().UseFixedPitchFont(window_, id);
}
std::optional<Rect> Dialog::ItemRect(int id) const {
    return windows().ItemRect(window_, id);
}
void Dialog::MoveItem(int id, const Rect& rect, bool repaint) {
    windows().MoveItem(window_, id, rect, repaint);
}

bool Dialog::HandleInitDialog(WindowId window) {
    window_ = window;
    return OnInitDialog();
}

std::optional<std::intptr_t> Dialog::HandleMessage(const Message& message) {
    for (const MessageMapEntry& entry : GetMessageMap()) {
        if (!entry.Matches(message)) continue;
        // Handlers may run nested message loops that reach this dialog again.
        const bool outer = defaultRequested_;
        defaultRequested_ = false;
        std::intptr_t result = 0;
        if (entry.kind == MessageMapEntry::Kind::Message) {
            result = entry.decode(*this, entry.onMessage, message);
        } else if (entry.kind == MessageMapEntry::Kind::Command) {
            RunCommand(entry.firstId, entry.onCommand);
        } else {
            (this->*entry.onCommand)();
        }
        const bool leftToDefault = defaultRequested_;
        defaultRequested_ = outer;
        if (leftToDefault) return std::nullopt;
        return result;
    }
    if (message.message == kWmCommand && (message.wParam >> 16) == kBnClicked) {
        const auto id = static_cast<int>(message.wParam & 0xFFFF);
        if (id == kIdOk) {
            OnOK();
            return 0;
        }
        if (id == kIdCancel) {
            OnCancel();
            return 0;
        }
        if (id < kFirstSystemCommandId && app_.HandleCommand(id)) return 0;
    }
    if (message.message == kWmHelp) return HandleMessage({kWmCommand, CommandParam(kIdHelp), 0});
    return std::nullopt;
}

void Dialog::HandleDestroyed() {
    window_ = kNoWindow;
}

bool Dialog::PreTranslateMessage(const Message&) {
    return false;
}

bool Dialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void Dialog::OnOK() {
    if (UpdateData(true)) EndDialog(kIdOk);
}

void Dialog::OnCancel() {
    EndDialog(kIdCancel);
}

void Dialog::DoDataExchange(DataExchange&) {}

std::span<const MessageMapEntry> Dialog::GetMessageMap() const {
    return {};
}

void Dialog::RunCommand(int, CommandHandler handler) {
    (this->*handler)();
}

std::intptr_t Dialog::Default() {
    defaultRequested_ = true;
    return 0;
}

}  // namespace hw::ui
