// The window system's dialog windows: creating and running them from their
// templates, ending and destroying them, a button added at run time, and
// each window's own state (title, enabled, minimised, icons).
//
// Items are addressed by their dialog control id within a dialog window. A
// call on a window or item that does not exist does nothing and returns the
// "nothing" value of its result (false, 0, empty).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/Types.h"

namespace hw::ui {

class Dialog;

class DialogWindows {
  public:
    virtual ~DialogWindows() = default;

    // Creates the dialog's window from its template (dialog.templateId()),
    // owned by owner (kNoWindow: none), disables the owner while it runs,
    // sends it WM_INITDIALOG (Dialog::HandleInitDialog) and runs its modal
    // loop until EndDialog; the window is then destroyed and the owner
    // re-enabled. Returns the EndDialog result, -1 when the window could
    // not be created.
    virtual int RunModal(Dialog& dialog, WindowId owner) = 0;
    // Creates the dialog's window as a modeless window owned by owner and
    // initialises it as above; returns at once with the window, or kNoWindow
    // when it could not be created. The window lives until DestroyWindow.
    virtual WindowId CreateModeless(Dialog& dialog, WindowId owner) = 0;
    // Ends a modal dialog's loop with result (the window goes when the loop
    // returns). Returns false when window is no dialog window.
    virtual bool EndDialog(WindowId window, int result) = 0;
    // Destroys a window at once, with its timers; its dialog gets
    // Dialog::HandleDestroyed. Returns false when there is no such window.
    virtual bool DestroyWindow(WindowId window) = 0;
    // Adds a push button with text and id at rect (the dialog's client
    // coordinates), in the dialog's font, a tab stop after the template's
    // controls. False when there is no such window or the id is taken.
    virtual bool AddButton(WindowId window, int id, const Rect& rect, std::string_view text) = 0;
    virtual void SetTitle(WindowId window, std::string_view text) = 0;
    virtual std::string Title(WindowId window) const = 0;
    // EnableWindow: a disabled window takes no mouse or keyboard input.
    virtual void EnableWindow(WindowId window, bool enable) = 0;
    virtual bool IsWindowEnabled(WindowId window) const = 0;
    // IsIconic: the window is minimised.
    virtual bool IsMinimized(WindowId window) const = 0;
    // WM_SETICON: the big (title bar / Alt+Tab) or small icon.
    virtual void SetIcon(WindowId window, IconHandle icon, bool big) = 0;
};

}  // namespace hw::ui
