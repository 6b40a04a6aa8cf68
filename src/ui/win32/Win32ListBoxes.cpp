#include "ui/win32/Win32ListBoxes.h"

#include "ui/win32/Win32Handles.h"

namespace hw::ui {

void Win32ListBoxes::SetListLines(WindowId window, int id, const std::vector<std::string>& lines) {
    HWND list = Item(window, id);
    if (list == nullptr) return;
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : lines) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(line).c_str()));
    }
}

void Win32ListBoxes::SelectListLine(WindowId window, int id, int index) {
    SendDlgItemMessageW(ToHwnd(window), id, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int Win32ListBoxes::SelectedListLine(WindowId window, int id) const {
    if (Item(window, id) == nullptr) return -1;
    const LRESULT selected = SendDlgItemMessageW(ToHwnd(window), id, LB_GETCURSEL, 0, 0);
    return selected == LB_ERR ? -1 : static_cast<int>(selected);
}

}  // namespace hw::ui
