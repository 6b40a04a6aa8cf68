#include "ui/win32/Win32Items.h"

#include "ui/win32/Win32Handles.h"
// This needs <windows.h> first.
#include <commctrl.h>

namespace hw::ui {

namespace {

bool IsRadio(HWND item) {
    return item != nullptr && (SendMessageW(item, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}

}  // namespace

bool Win32Items::HasItem(WindowId window, int id) const {
    return Item(window, id) != nullptr;
}

void Win32Items::SetItemText(WindowId window, int id, std::string_view text) {
    SetDlgItemTextW(ToHwnd(window), id, Widen(text).c_str());
}

std::string Win32Items::ItemText(WindowId window, int id) const {
    return TextOf(Item(window, id));
}

void Win32Items::EnableItem(WindowId window, int id, bool enable) {
    if (HWND item = Item(window, id)) ::EnableWindow(item, enable ? TRUE : FALSE);
}

bool Win32Items::IsItemEnabled(WindowId window, int id) const {
    HWND item = Item(window, id);
    return item != nullptr && ::IsWindowEnabled(item) != FALSE;
}

void Win32Items::ShowItem(WindowId window, int id, bool show) {
    if (HWND item = Item(window, id)) ShowWindow(item, show ? SW_SHOW : SW_HIDE);
}

bool Win32Items::IsItemVisible(WindowId window, int id) const {
    HWND item = Item(window, id);
    return item != nullptr && (GetWindowLongW(item, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32Items::CheckItem(WindowId window, int id, bool checked) {
    CheckDlgButton(ToHwnd(window), id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Win32Items::IsItemChecked(WindowId window, int id) const {
    return IsDlgButtonChecked(ToHwnd(window), id) == BST_CHECKED;
}

void Win32Items::SetItemCheckState(WindowId window, int id, CheckState state) {
    CheckDlgButton(ToHwnd(window), id, static_cast<UINT>(state));
}

CheckState Win32Items::ItemCheckState(WindowId window, int id) const {
    switch (IsDlgButtonChecked(ToHwnd(window), id)) {
        case BST_CHECKED:
            return CheckState::Checked;
        case BST_INDETERMINATE:
            return CheckState::Indeterminate;
        default:
            return CheckState::Unchecked;
    }
}

void Win32Items::FocusItem(WindowId window, int id) {
    if (HWND item = Item(window, id)) {
        SendMessageW(ToHwnd(window), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE);
    }
}

std::vector<int> Win32Items::RadioGroup(WindowId window, int firstId) const {
    std::vector<int> group;
    HWND item = Item(window, firstId);
    if (!IsRadio(item)) return group;
    group.push_back(firstId);
    for (item = GetWindow(item, GW_HWNDNEXT);
         item != nullptr && (GetWindowLongW(item, GWL_STYLE) & WS_GROUP) == 0;
         item = GetWindow(item, GW_HWNDNEXT)) {
        if (IsRadio(item)) group.push_back(GetDlgCtrlID(item));
    }
    return group;
}

void Win32Items::SetProgressRange(WindowId window, int id, int lower, int upper) {
    SendDlgItemMessageW(ToHwnd(window), id, PBM_SETRANGE32, static_cast<WPARAM>(lower),
                        static_cast<LPARAM>(upper));
}

void Win32Items::SetProgressPos(WindowId window, int id, int pos) {
    SendDlgItemMessageW(ToHwnd(window), id, PBM_SETPOS, static_cast<WPARAM>(pos), 0);
}

}  // namespace hw::ui
