#include "ui/win32/Win32WindowSystem.h"

#include <windows.h>
// These two need <windows.h> first.
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <thread>

#include "platform/win32/Win32Utf8.h"
#include "ui/Dialog.h"
#include "ui/win32/ChartPainter.h"

namespace hw::ui {

namespace {

HWND ToHwnd(WindowId window) {
    return reinterpret_cast<HWND>(window);
}
WindowId ToWindow(HWND hwnd) {
    return reinterpret_cast<WindowId>(hwnd);
}
HINSTANCE Instance() {
    return GetModuleHandleA(nullptr);
}
HWND Item(WindowId window, int id) {
    return GetDlgItem(ToHwnd(window), id);
}

Rect FromRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}
RECT ToRect(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// Window texts cross in UTF-16 (see Win32Utf8.h).
std::string TextOf(HWND hwnd) {
    if (hwnd == nullptr) return {};
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    const int got = GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return Narrow(text);
}

bool IsRadio(HWND item) {
    return item != nullptr && (SendMessageA(item, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}

// Messages whose result the dialog procedure returns itself rather than
// through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
    switch (message) {
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_QUERYDRAGICON:
            return true;
        default:
            return false;
    }
}

// The one dialog procedure: WM_INITDIALOG carries the Dialog object, which
// the window keeps in DWLP_USER until it is gone.
INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
        return dialog->HandleInitDialog(ToWindow(hwnd)) ? TRUE : FALSE;
    }
    auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (dialog == nullptr) return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        dialog->HandleDestroyed();
        return FALSE;
    }
    const std::optional<std::intptr_t> result = dialog->HandleMessage({message, wParam, lParam});
    if (!result) return FALSE;
    if (ReturnsResultDirectly(message)) return static_cast<INT_PTR>(*result);
    SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, static_cast<LONG_PTR>(*result));
    return TRUE;
}

// "a|b||" as the double-NUL-terminated list that the common dialogs take.
std::string FilterList(const std::string& filter) {
    std::string list = filter;
    std::replace(list.begin(), list.end(), '|', '\0');
    list.push_back('\0');
    return list;
}

// The font a control draws with: the one it was given, else the system font.
LOGFONTA FontOf(HWND item) {
    auto font = reinterpret_cast<HFONT>(SendMessageA(item, WM_GETFONT, 0, 0));
    if (font == nullptr) font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    LOGFONTA logFont{};
    GetObjectA(font, sizeof logFont, &logFont);
    return logFont;
}

bool IsFixedPitch(HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics{};
    const bool got = GetTextMetricsA(dc, &metrics) != FALSE;
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    // The flag, despite its name, is set for a proportional font.
    return got && (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
}

// "Courier New" in the size, weight and character set of like; nullptr when
// the system offers no fixed-pitch font for it.
HFONT CreateFixedPitchFont(LOGFONTA like) {
    like.lfWidth = 0;
    like.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpynA(like.lfFaceName, "Courier New", LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&like);
    if (font != nullptr && !IsFixedPitch(font)) {
        DeleteObject(font);
        font = nullptr;
    }
    return font;
}

std::uint64_t FontKey(const LOGFONTA& font) {
    return (std::uint64_t{static_cast<std::uint32_t>(font.lfHeight)} << 32) |
           (std::uint64_t{static_cast<std::uint32_t>(font.lfWeight)} << 8) | font.lfCharSet;
}

// A message for one of the program's dialogs or its controls that the Dialog
// object takes before the dialog manager sees it. Other windows (message
// boxes, common dialogs) are left alone: their procedure is not ours.
bool TakenByDialog(const MSG& msg) {
    HWND dialog = GetAncestor(msg.hwnd, GA_ROOT);
    if (dialog == nullptr ||
        GetWindowLongPtrA(dialog, DWLP_DLGPROC) != reinterpret_cast<LONG_PTR>(DialogProc)) {
        return false;
    }
    auto* object = reinterpret_cast<Dialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    return object != nullptr &&
           object->PreTranslateMessage(
               {msg.message, static_cast<std::uintptr_t>(msg.wParam), msg.lParam});
}

// The dialog manager asks this filter about every message before its
// keyboard handling (IsDialogMessage, in modal loops and in PumpMessages).
LRESULT CALLBACK DialogMessageFilter(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_DIALOGBOX && TakenByDialog(*reinterpret_cast<const MSG*>(lParam))) {
        return TRUE;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

Win32WindowSystem::Win32WindowSystem() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    messageFilter_ = reinterpret_cast<std::uintptr_t>(
        SetWindowsHookExA(WH_MSGFILTER, DialogMessageFilter, nullptr, GetCurrentThreadId()));
}

Win32WindowSystem::~Win32WindowSystem() {
    if (messageFilter_ != 0) UnhookWindowsHookEx(reinterpret_cast<HHOOK>(messageFilter_));
    for (const auto& [key, font] : fixedFonts_) DeleteObject(reinterpret_cast<HFONT>(font));
}

// --- Dialog windows ------------------------------------------------------------

int Win32WindowSystem::RunModal(Dialog& dialog, WindowId owner) {
    return static_cast<int>(DialogBoxParamA(Instance(), MAKEINTRESOURCEA(dialog.templateId()),
                                            ToHwnd(owner), DialogProc,
                                            reinterpret_cast<LPARAM>(&dialog)));
}

WindowId Win32WindowSystem::CreateModeless(Dialog& dialog, WindowId owner) {
    return ToWindow(CreateDialogParamA(Instance(), MAKEINTRESOURCEA(dialog.templateId()),
                                       ToHwnd(owner), DialogProc,
                                       reinterpret_cast<LPARAM>(&dialog)));
}

bool Win32WindowSystem::EndDialog(WindowId window, int result) {
    return ::EndDialog(ToHwnd(window), result) != FALSE;
}

bool Win32WindowSystem::DestroyWindow(WindowId window) {
    return ::DestroyWindow(ToHwnd(window)) != FALSE;
}

// --- Window state ------------------------------------------------------------------

void Win32WindowSystem::SetTitle(WindowId window, std::string_view text) {
    SetWindowTextW(ToHwnd(window), Widen(text).c_str());
}

std::string Win32WindowSystem::Title(WindowId window) const {
    return TextOf(ToHwnd(window));
}

void Win32WindowSystem::EnableWindow(WindowId window, bool enable) {
    ::EnableWindow(ToHwnd(window), enable ? TRUE : FALSE);
}

bool Win32WindowSystem::IsWindowEnabled(WindowId window) const {
    return ::IsWindowEnabled(ToHwnd(window)) != FALSE;
}

bool Win32WindowSystem::IsMinimized(WindowId window) const {
    return IsIconic(ToHwnd(window)) != FALSE;
}

void Win32WindowSystem::SetIcon(WindowId window, IconHandle icon, bool big) {
    SendMessageA(ToHwnd(window), WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                 static_cast<LPARAM>(icon));
}

// --- Items ---------------------------------------------------------------------------

bool Win32WindowSystem::HasItem(WindowId window, int id) const {
    return Item(window, id) != nullptr;
}

void Win32WindowSystem::SetItemText(WindowId window, int id, std::string_view text) {
    SetDlgItemTextW(ToHwnd(window), id, Widen(text).c_str());
}

std::string Win32WindowSystem::ItemText(WindowId window, int id) const {
    return TextOf(Item(window, id));
}

void Win32WindowSystem::EnableItem(WindowId window, int id, bool enable) {
    if (HWND item = Item(window, id)) ::EnableWindow(item, enable ? TRUE : FALSE);
}

bool Win32WindowSystem::IsItemEnabled(WindowId window, int id) const {
    HWND item = Item(window, id);
    return item != nullptr && ::IsWindowEnabled(item) != FALSE;
}

void Win32WindowSystem::ShowItem(WindowId window, int id, bool show) {
    if (HWND item = Item(window, id)) ShowWindow(item, show ? SW_SHOW : SW_HIDE);
}

bool Win32WindowSystem::IsItemVisible(WindowId window, int id) const {
    HWND item = Item(window, id);
    return item != nullptr && (GetWindowLongA(item, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32WindowSystem::CheckItem(WindowId window, int id, bool checked) {
    CheckDlgButton(ToHwnd(window), id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Win32WindowSystem::IsItemChecked(WindowId window, int id) const {
    return IsDlgButtonChecked(ToHwnd(window), id) == BST_CHECKED;
}

void Win32WindowSystem::SetItemCheckState(WindowId window, int id, CheckState state) {
    CheckDlgButton(ToHwnd(window), id, static_cast<UINT>(state));
}

CheckState Win32WindowSystem::ItemCheckState(WindowId window, int id) const {
    switch (IsDlgButtonChecked(ToHwnd(window), id)) {
        case BST_CHECKED:
            return CheckState::Checked;
        case BST_INDETERMINATE:
            return CheckState::Indeterminate;
        default:
            return CheckState::Unchecked;
    }
}

void Win32WindowSystem::UseFixedPitchFont(WindowId window, int id) {
    HWND item = Item(window, id);
    if (item == nullptr) return;
    const LOGFONTA present = FontOf(item);
    auto& made = fixedFonts_[FontKey(present)];
    if (made == 0) made = reinterpret_cast<std::uintptr_t>(CreateFixedPitchFont(present));
    HFONT font = made != 0 ? reinterpret_cast<HFONT>(made)
                           : static_cast<HFONT>(GetStockObject(SYSTEM_FIXED_FONT));
    SendMessageA(item, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void Win32WindowSystem::FocusItem(WindowId window, int id) {
    if (HWND item = Item(window, id)) {
        SendMessageA(ToHwnd(window), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE);
    }
}

std::vector<int> Win32WindowSystem::RadioGroup(WindowId window, int firstId) const {
    std::vector<int> group;
    HWND item = Item(window, firstId);
    if (!IsRadio(item)) return group;
    group.push_back(firstId);
    for (item = GetWindow(item, GW_HWNDNEXT);
         item != nullptr && (GetWindowLongA(item, GWL_STYLE) & WS_GROUP) == 0;
         item = GetWindow(item, GW_HWNDNEXT)) {
        if (IsRadio(item)) group.push_back(GetDlgCtrlID(item));
    }
    return group;
}

bool Win32WindowSystem::AddButton(WindowId window, int id, const Rect& rect,
                                  std::string_view text) {
    HWND dialog = ToHwnd(window);
    if (!IsWindow(dialog) || Item(window, id) != nullptr) return false;
    const std::string caption(text);
    HWND button = CreateWindowExA(
        0, "BUTTON", caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, rect.left,
        rect.top, rect.Width(), rect.Height(), dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
    if (button == nullptr) return false;
    SendMessageA(button, WM_SETFONT, static_cast<WPARAM>(SendMessageA(dialog, WM_GETFONT, 0, 0)),
                 TRUE);
    return true;
}

void Win32WindowSystem::SetProgressRange(WindowId window, int id, int lower, int upper) {
    SendDlgItemMessageA(ToHwnd(window), id, PBM_SETRANGE32, static_cast<WPARAM>(lower),
                        static_cast<LPARAM>(upper));
}

void Win32WindowSystem::SetProgressPos(WindowId window, int id, int pos) {
    SendDlgItemMessageA(ToHwnd(window), id, PBM_SETPOS, static_cast<WPARAM>(pos), 0);
}

// --- Geometry and painting -----------------------------------------------------------

Rect Win32WindowSystem::ClientRect(WindowId window) const {
    RECT r{};
    GetClientRect(ToHwnd(window), &r);
    return FromRect(r);
}

Rect Win32WindowSystem::WindowRect(WindowId window) const {
    RECT r{};
    if (!GetWindowRect(ToHwnd(window), &r)) return {};
    return FromRect(r);
}

void Win32WindowSystem::MoveWindowTo(WindowId window, Point screen) {
    SetWindowPos(ToHwnd(window), nullptr, screen.x, screen.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32WindowSystem::PlaceWindow(WindowId window, const Rect& screen) {
    SetWindowPos(ToHwnd(window), nullptr, screen.left, screen.top, screen.Width(), screen.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

Rect Win32WindowSystem::WorkArea(WindowId window) const {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = MonitorFromWindow(ToHwnd(window), MONITOR_DEFAULTTONEAREST);
    if (!GetMonitorInfoA(monitor, &info)) return {};
    return FromRect(info.rcWork);
}

std::optional<Rect> Win32WindowSystem::ItemRect(WindowId window, int id) const {
    HWND item = Item(window, id);
    RECT r{};
    if (item == nullptr || !GetWindowRect(item, &r)) return std::nullopt;
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    ::ScreenToClient(ToHwnd(window), &corners[0]);
    ::ScreenToClient(ToHwnd(window), &corners[1]);
    return Rect{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

void Win32WindowSystem::MoveItem(WindowId window, int id, const Rect& rect, bool repaint) {
    // A repainted item is drawn anew at its new place rather than from the
    // bits it showed at the old one, which a grown window may no longer hold.
    const UINT redraw = repaint ? SWP_NOCOPYBITS : SWP_NOREDRAW;
    if (HWND item = Item(window, id)) {
        SetWindowPos(item, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE | redraw);
    }
}

Point Win32WindowSystem::ScreenToClient(WindowId window, Point screen) const {
    POINT p{screen.x, screen.y};
    ::ScreenToClient(ToHwnd(window), &p);
    return {p.x, p.y};
}

void Win32WindowSystem::Invalidate(WindowId window, const std::optional<Rect>& rect, bool erase) {
    const RECT r = rect ? ToRect(*rect) : RECT{};
    InvalidateRect(ToHwnd(window), rect ? &r : nullptr, erase ? TRUE : FALSE);
}

Point Win32WindowSystem::HorizontalScrollArrow() const {
    return {GetSystemMetrics(SM_CXHSCROLL), GetSystemMetrics(SM_CYHSCROLL)};
}

void Win32WindowSystem::PaintMinimizedIcon(WindowId window, IconHandle icon) {
    HWND hwnd = ToHwnd(window);
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(hwnd, &paint);
    SendMessageA(hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    GetClientRect(hwnd, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, reinterpret_cast<HICON>(icon));
    EndPaint(hwnd, &paint);
}

void Win32WindowSystem::PaintSizeGrip(WindowId window, const Rect& rect) {
    HWND hwnd = ToHwnd(window);
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(hwnd, &paint);
    RECT grip = ToRect(rect);
    DrawFrameControl(dc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    EndPaint(hwnd, &paint);
}

void Win32WindowSystem::PaintChart(WindowId window, const Chart& chart) {
    PaintChartBuffered(ToHwnd(window), chart);
}

Size Win32WindowSystem::MeasureText(WindowId window, std::string_view text) const {
    return MeasureChartText(ToHwnd(window), Widen(text));
}

// --- Messages and timers ------------------------------------------------------------------

std::intptr_t Win32WindowSystem::Send(WindowId window, const Message& message) {
    return SendMessageA(ToHwnd(window), message.message, message.wParam, message.lParam);
}

bool Win32WindowSystem::Post(WindowId window, const Message& message) {
    return PostMessageA(ToHwnd(window), message.message, message.wParam, message.lParam) != FALSE;
}

std::uintptr_t Win32WindowSystem::SetTimer(WindowId window, std::uintptr_t id, std::uint32_t ms) {
    return ::SetTimer(ToHwnd(window), id, ms, nullptr);
}

bool Win32WindowSystem::KillTimer(WindowId window, std::uintptr_t id) {
    return ::KillTimer(ToHwnd(window), id) != FALSE;
}

void Win32WindowSystem::PumpMessages(WindowId dialog) {
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Left for the main loop, which ends the program on it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (!IsDialogMessageA(ToHwnd(dialog), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

// --- Shell services and resources -------------------------------------------------------------

int Win32WindowSystem::ShowMessageBox(WindowId owner, std::string_view text,
                                      std::string_view caption, std::uint32_t style) {
    HWND hwnd = owner != kNoWindow ? ToHwnd(owner) : GetActiveWindow();
    return MessageBoxW(hwnd, Widen(text).c_str(), Widen(caption).c_str(), style);
}

std::optional<std::string> Win32WindowSystem::ShowFileDialog(WindowId owner,
                                                             const FileDialogOptions& options) {
    // The wide dialogs give a chosen path whole whatever the ANSI code page.
    const std::wstring filter = Widen(FilterList(options.filter));
    const std::wstring extension = Widen(options.defaultExtension);
    std::wstring path(4096, L'\0');
    Widen(options.initialName).copy(path.data(), path.size() - 1);
    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = ToHwnd(owner);
    request.lpstrFilter = options.filter.empty() ? nullptr : filter.c_str();
    request.lpstrFile = path.data();
    request.nMaxFile = static_cast<DWORD>(path.size());
    const std::wstring initialFolder = Widen(options.initialFolder);
    request.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
    request.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    request.Flags = options.flags | OFN_EXPLORER;
    const BOOL chosen = options.open ? GetOpenFileNameW(&request) : GetSaveFileNameW(&request);
    if (!chosen) return std::nullopt;
    if (options.chosenFilter != nullptr)
        *options.chosenFilter = static_cast<int>(request.nFilterIndex);
    path.resize(path.find(L'\0'));
    return Narrow(path);
}

bool Win32WindowSystem::OpenDocument(WindowId owner, const std::string& path) {
    // ShellExecute answers with a value above 32 when it succeeded.
    const HINSTANCE result =
        ShellExecuteW(ToHwnd(owner), L"open", Widen(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool Win32WindowSystem::HasSystemMenu(WindowId window) const {
    return GetSystemMenu(ToHwnd(window), FALSE) != nullptr;
}

void Win32WindowSystem::AppendSystemMenuSeparator(WindowId window) {
    if (HMENU menu = GetSystemMenu(ToHwnd(window), FALSE))
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
}

void Win32WindowSystem::AppendSystemMenuItem(WindowId window, int commandId,
                                             std::string_view text) {
    if (HMENU menu = GetSystemMenu(ToHwnd(window), FALSE)) {
        AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(commandId), std::string(text).c_str());
    }
}

std::string Win32WindowSystem::LoadStringResource(int id) const {
    char text[4096];
    const int length = LoadStringA(Instance(), static_cast<UINT>(id), text, sizeof text);
    return std::string(text, static_cast<std::size_t>(std::max(length, 0)));
}

IconHandle Win32WindowSystem::LoadIconResource(int id) const {
    return reinterpret_cast<IconHandle>(LoadIconA(Instance(), MAKEINTRESOURCEA(id)));
}

WorkerThread Win32WindowSystem::StartThread(std::function<void()> body) {
    return WorkerThread(std::thread(std::move(body)));
}

}  // namespace hw::ui
