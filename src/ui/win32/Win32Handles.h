// What the parts of the Win32 window system share: the conversions between
// our window ids and rectangles and the API's, and the one dialog procedure
// through which every dialog window reaches its Dialog object.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/win32/Win32Utf8.h"
#include "ui/Types.h"

namespace hw::ui {

inline HWND ToHwnd(WindowId window) {
    return reinterpret_cast<HWND>(window);
}
inline WindowId ToWindow(HWND hwnd) {
    return reinterpret_cast<WindowId>(hwnd);
}
inline HINSTANCE Instance() {
    return GetModuleHandleW(nullptr);
}
inline HWND Item(WindowId window, int id) {
    return GetDlgItem(ToHwnd(window), id);
}

inline Rect FromRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}
inline RECT ToRect(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// Window texts cross in UTF-16 (see Win32Utf8.h).
inline std::string TextOf(HWND hwnd) {
    if (hwnd == nullptr) return {};
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    const int got = GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return Narrow(text);
}

// The one dialog procedure: WM_INITDIALOG carries the Dialog object, which
// the window keeps in DWLP_USER until it is gone.
INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace hw::ui
