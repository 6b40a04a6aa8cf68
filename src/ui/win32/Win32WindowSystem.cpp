#include "ui/win32/Win32WindowSystem.h"

#include "ui/win32/Win32Handles.h"
// This needs <windows.h> first.
#include <commctrl.h>

#include "ui/Dialog.h"

namespace hw::ui {

namespace {

// A message for one of the program's dialogs or its controls that the Dialog
// object takes before the dialog manager sees it. Other windows (message
// boxes, common dialogs) are left alone: their procedure is not ours.
bool TakenByDialog(const MSG& msg) {
    HWND dialog = GetAncestor(msg.hwnd, GA_ROOT);
    if (dialog == nullptr ||
        GetWindowLongPtrW(dialog, DWLP_DLGPROC) != reinterpret_cast<LONG_PTR>(DialogProc)) {
        return false;
    }
    auto* object = reinterpret_cast<Dialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
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

Win32WindowSystem::Win32WindowSystem()
    : WindowSystem{windows_, items_, lists_, geometry_, messages_, shell_} {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    messageFilter_ = reinterpret_cast<std::uintptr_t>(
        SetWindowsHookExW(WH_MSGFILTER, DialogMessageFilter, nullptr, GetCurrentThreadId()));
}

Win32WindowSystem::~Win32WindowSystem() {
    if (messageFilter_ != 0) UnhookWindowsHookEx(reinterpret_cast<HHOOK>(messageFilter_));
}

}  // namespace hw::ui
