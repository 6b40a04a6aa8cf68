#include "ui/win32/Win32DialogWindows.h"

#include "ui/win32/Win32Handles.h"

#include "ui/Dialog.h"

namespace hw::ui {

namespace {

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

}  // namespace

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
        return dialog->HandleInitDialog(ToWindow(hwnd)) ? TRUE : FALSE;
    }
    auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (dialog == nullptr) return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        dialog->HandleDestroyed();
        return FALSE;
    }
    const std::optional<std::intptr_t> result = dialog->HandleMessage({message, wParam, lParam});
    if (!result) return FALSE;
    if (ReturnsResultDirectly(message)) return static_cast<INT_PTR>(*result);
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, static_cast<LONG_PTR>(*result));
    return TRUE;
}

int Win32DialogWindows::RunModal(Dialog& dialog, WindowId owner) {
    return static_cast<int>(DialogBoxParamW(Instance(), MAKEINTRESOURCEW(dialog.templateId()),
                                            ToHwnd(owner), DialogProc,
                                            reinterpret_cast<LPARAM>(&dialog)));
}

WindowId Win32DialogWindows::CreateModeless(Dialog& dialog, WindowId owner) {
    return ToWindow(CreateDialogParamW(Instance(), MAKEINTRESOURCEW(dialog.templateId()),
                                       ToHwnd(owner), DialogProc,
                                       reinterpret_cast<LPARAM>(&dialog)));
}

bool Win32DialogWindows::EndDialog(WindowId window, int result) {
    return ::EndDialog(ToHwnd(window), result) != FALSE;
}

bool Win32DialogWindows::DestroyWindow(WindowId window) {
    return ::DestroyWindow(ToHwnd(window)) != FALSE;
}

bool Win32DialogWindows::AddButton(WindowId window, int id, const Rect& rect,
                                   std::string_view text) {
    HWND dialog = ToHwnd(window);
    if (!IsWindow(dialog) || Item(window, id) != nullptr) return false;
    const std::wstring caption = Widen(text);
    HWND button = CreateWindowExW(
        0, L"BUTTON", caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
        rect.left, rect.top, rect.Width(), rect.Height(), dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
    if (button == nullptr) return false;
    SendMessageW(button, WM_SETFONT, static_cast<WPARAM>(SendMessageW(dialog, WM_GETFONT, 0, 0)),
                 TRUE);
    return true;
}

void Win32DialogWindows::SetTitle(WindowId window, std::string_view text) {
    SetWindowTextW(ToHwnd(window), Widen(text).c_str());
}

std::string Win32DialogWindows::Title(WindowId window) const {
    return TextOf(ToHwnd(window));
}

void Win32DialogWindows::EnableWindow(WindowId window, bool enable) {
    ::EnableWindow(ToHwnd(window), enable ? TRUE : FALSE);
}

bool Win32DialogWindows::IsWindowEnabled(WindowId window) const {
    return ::IsWindowEnabled(ToHwnd(window)) != FALSE;
}

bool Win32DialogWindows::IsMinimized(WindowId window) const {
    return IsIconic(ToHwnd(window)) != FALSE;
}

void Win32DialogWindows::SetIcon(WindowId window, IconHandle icon, bool big) {
    SendMessageW(ToHwnd(window), WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                 static_cast<LPARAM>(icon));
}

}  // namespace hw::ui
