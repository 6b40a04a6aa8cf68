#include "ui/Dialog.h"

#include "ui/Application.h"
#include "ui/DataExchange.h"
#include "ui/WindowSystem.h"

namespace hw::ui {

Dialog::Dialog(Application& app, int templateId) : app_(app), templateId_(templateId) {}

Dialog::~Dialog() {
    if (window_ != kNoWindow) app_.windows().DestroyWindow(window_);
}

int Dialog::DoModal() {
    const Dialog* main = app_.mainWindow();
    const WindowId owner = main != nullptr && main != this ? main->window() : kNoWindow;
    return DoModal(owner);
}

int Dialog::DoModal(WindowId owner) {
    return app_.windows().RunModal(*this, owner);
}

bool Dialog::Create(WindowId owner) {
    return app_.windows().CreateModeless(*this, owner) != kNoWindow;
}

bool Dialog::DestroyWindow() {
    if (window_ == kNoWindow) return false;
    return app_.windows().DestroyWindow(window_);
}

void Dialog::EndDialog(int result) {
    app_.windows().EndDialog(window_, result);
}

bool Dialog::UpdateData(bool saveAndValidate) {
    if (window_ == kNoWindow) return false;
    DataExchange dx(app_.items(), window_, saveAndValidate);
    DoDataExchange(dx);
    return !dx.failed();
}

void Dialog::SetTitle(std::string_view text) {
    app_.windows().SetTitle(window_, text);
}
std::string Dialog::Title() const {
    return app_.windows().Title(window_);
}
void Dialog::EnableWindow(bool enable) {
    app_.windows().EnableWindow(window_, enable);
}
bool Dialog::IsWindowEnabled() const {
    return app_.windows().IsWindowEnabled(window_);
}
bool Dialog::IsMinimized() const {
    return app_.windows().IsMinimized(window_);
}
void Dialog::SetIcon(IconHandle icon, bool big) {
    app_.windows().SetIcon(window_, icon, big);
}

std::uintptr_t Dialog::SetTimer(std::uintptr_t id, std::uint32_t ms) {
    return app_.messages().SetTimer(window_, id, ms);
}

bool Dialog::KillTimer(std::uintptr_t id) {
    return app_.messages().KillTimer(window_, id);
}

int Dialog::ShowMessageBox(std::string_view text, std::string_view caption, std::uint32_t style) {
    if (caption.empty()) caption = app_.programName();
    const int answer = app_.shell().ShowMessageBox(window_, text, caption, style);
    app_.NoteBox({text, style, answer});
    return answer;
}

std::intptr_t Dialog::Send(const Message& message) {
    return app_.messages().Send(window_, message);
}
bool Dialog::Post(const Message& message) {
    return app_.messages().Post(window_, message);
}
Rect Dialog::ClientRect() const {
    return app_.geometry().ClientRect(window_);
}
Rect Dialog::WindowRect() const {
    return app_.geometry().WindowRect(window_);
}
void Dialog::MoveWindowTo(Point screen) {
    app_.geometry().MoveWindowTo(window_, screen);
}
Rect Dialog::WorkArea() const {
    return app_.geometry().WorkArea(window_);
}
Point Dialog::ScreenToClient(Point screen) const {
    return app_.geometry().ScreenToClient(window_, screen);
}
void Dialog::Invalidate(const std::optional<Rect>& rect, bool erase) {
    app_.geometry().Invalidate(window_, rect, erase);
}

bool Dialog::HasItem(int id) const {
    return app_.items().HasItem(window_, id);
}
void Dialog::SetItemText(int id, std::string_view text) {
    app_.items().SetItemText(window_, id, text);
}
std::string Dialog::ItemText(int id) const {
    return app_.items().ItemText(window_, id);
}
void Dialog::EnableItem(int id, bool enable) {
    app_.items().EnableItem(window_, id, enable);
}
bool Dialog::IsItemEnabled(int id) const {
    return app_.items().IsItemEnabled(window_, id);
}
void Dialog::ShowItem(int id, bool show) {
    app_.items().ShowItem(window_, id, show);
}
bool Dialog::IsItemVisible(int id) const {
    return app_.items().IsItemVisible(window_, id);
}
void Dialog::CheckItem(int id, bool checked) {
    app_.items().CheckItem(window_, id, checked);
}
bool Dialog::IsItemChecked(int id) const {
    return app_.items().IsItemChecked(window_, id);
}
void Dialog::SetItemCheckState(int id, CheckState state) {
    app_.items().SetItemCheckState(window_, id, state);
}
CheckState Dialog::ItemCheckState(int id) const {
    return app_.items().ItemCheckState(window_, id);
}
void Dialog::FocusItem(int id) {
    app_.items().FocusItem(window_, id);
}

void Dialog::UseFixedPitchFont(int id) {
    app_.geometry().UseFixedPitchFont(window_, id);
}
std::optional<Rect> Dialog::ItemRect(int id) const {
    return app_.geometry().ItemRect(window_, id);
}
void Dialog::MoveItem(int id, const Rect& rect, bool repaint) {
    app_.geometry().MoveItem(window_, id, rect, repaint);
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
            result = entry.decode(*this, message);
        } else if (entry.kind == MessageMapEntry::Kind::Command) {
            RunCommand(entry.firstId, [&] { entry.onCommand(*this); });
        } else {
            entry.onCommand(*this);
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

void Dialog::RunCommand(int, const std::function<void()>& handler) {
    handler();
}

std::intptr_t Dialog::Default() {
    defaultRequested_ = true;
    return 0;
}

}  // namespace hw::ui
