// The backend of the dialog framework: every call that reaches real windows
// (Win32) or their stand-ins (headless, for native tests). Dialogs, controls
// and the application object reach the OS only through this interface.
//
// Items are addressed by their dialog control id within a dialog window. A
// call on a window or item that does not exist does nothing and returns the
// "nothing" value of its result (false, 0, empty).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Chart.h"
#include "ui/Types.h"
#include "ui/WorkerThread.h"

namespace hw::ui {

class Dialog;

// An open or save-as file dialog.
struct FileDialogOptions {
    bool open = true;              // open dialog; false: save-as dialog
    std::string defaultExtension;  // appended to a typed name without one; empty: none
    std::string initialName;       // file name shown at first; empty: none
    std::string initialFolder;     // folder shown at first; empty: the system's choice
    // Dialogs of one kind open in the folder of the file last chosen with
    // one of them (Application::ShowFileDialog); empty: no kind.
    std::string folderKind;
    std::uint32_t flags = 0;  // kOfnHideReadOnly, kOfnOverwritePrompt
    // Filter in the form "Text file (*.txt)|*.txt|all |*.*||": pairs of a
    // description and a pattern, each ended by '|', the list by one more '|'.
    std::string filter;
    // When set, receives the 1-based number of the filter the user had
    // chosen when a path was returned (the dialog's nFilterIndex).
    int* chosenFilter = nullptr;
};

class WindowSystem {
  public:
    virtual ~WindowSystem() = default;

    // --- Dialog windows -------------------------------------------------
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

    // --- Window state --------------------------------------------------
    virtual void SetTitle(WindowId window, std::string_view text) = 0;
    virtual std::string Title(WindowId window) const = 0;
    // EnableWindow: a disabled window takes no mouse or keyboard input.
    virtual void EnableWindow(WindowId window, bool enable) = 0;
    virtual bool IsWindowEnabled(WindowId window) const = 0;
    // IsIconic: the window is minimised.
    virtual bool IsMinimized(WindowId window) const = 0;
    // WM_SETICON: the big (title bar / Alt+Tab) or small icon.
    virtual void SetIcon(WindowId window, IconHandle icon, bool big) = 0;

    // --- Items (child controls) ------------------------------------------
    virtual bool HasItem(WindowId window, int id) const = 0;
    virtual void SetItemText(WindowId window, int id, std::string_view text) = 0;
    virtual std::string ItemText(WindowId window, int id) const = 0;
    virtual void EnableItem(WindowId window, int id, bool enable) = 0;
    virtual bool IsItemEnabled(WindowId window, int id) const = 0;
    virtual void ShowItem(WindowId window, int id, bool show) = 0;
    virtual bool IsItemVisible(WindowId window, int id) const = 0;
    // Check state of a check box or radio button. IsItemChecked is false
    // for an indeterminate three-state box.
    virtual void CheckItem(WindowId window, int id, bool checked) = 0;
    virtual bool IsItemChecked(WindowId window, int id) const = 0;
    // All three states of a three-state check box (CheckDlgButton,
    // IsDlgButtonChecked); Unchecked for a missing item.
    virtual void SetItemCheckState(WindowId window, int id, CheckState state) = 0;
    virtual CheckState ItemCheckState(WindowId window, int id) const = 0;
    // Moves the keyboard focus to the item.
    virtual void FocusItem(WindowId window, int id) = 0;
    // The radio buttons of the group that starts at firstId, in tab order:
    // firstId and the radio buttons after it up to the next item that starts
    // a group (kWsGroup). Empty when firstId is no radio button.
    virtual std::vector<int> RadioGroup(WindowId window, int firstId) const = 0;
    // Shows the item's text in a fixed-pitch font ("Courier New", else the
    // system's fixed font) with the height, weight and character set of the
    // font it has; the item keeps its place and size. The font lives as long
    // as the window system.
    virtual void UseFixedPitchFont(WindowId window, int id) = 0;
    // Adds a push button with text and id at rect (the dialog's client
    // coordinates), in the dialog's font, a tab stop after the template's
    // controls. False when there is no such window or the id is taken.
    virtual bool AddButton(WindowId window, int id, const Rect& rect, std::string_view text) = 0;
    // Progress bar: range and position.
    virtual void SetProgressRange(WindowId window, int id, int lower, int upper) = 0;
    virtual void SetProgressPos(WindowId window, int id, int pos) = 0;

    // --- Geometry, in pixels ---------------------------------------------
    // The window's rectangle on the screen, frame included (GetWindowRect);
    // empty when there is no such window.
    virtual Rect WindowRect(WindowId window) const = 0;
    // Moves the window's top left corner to a screen point; its size, its
    // place in the Z order and the activation stay (SetWindowPos).
    virtual void MoveWindowTo(WindowId window, Point screen) = 0;
    // Moves and sizes the window to a screen rectangle, frame included; its
    // place in the Z order and the activation stay (SetWindowPos). A new
    // size reaches the dialog as WM_SIZE with its new client size.
    virtual void PlaceWindow(WindowId window, const Rect& screen) = 0;
    // The work area (the screen without the task bar) of the monitor that
    // shows most of the window, or of the nearest one.
    virtual Rect WorkArea(WindowId window) const = 0;
    // The window's client area; left and top are 0.
    virtual Rect ClientRect(WindowId window) const = 0;
    // The item's window rectangle in the dialog's client coordinates
    // (GetWindowRect, then ScreenToClient of both corners).
    virtual std::optional<Rect> ItemRect(WindowId window, int id) const = 0;
    // Moves and sizes the item to rect (client coordinates of the dialog).
    // With repaint the item is drawn anew at its new place and the place it
    // left is drawn again; without it nothing is redrawn.
    virtual void MoveItem(WindowId window, int id, const Rect& rect, bool repaint) = 0;
    // Screen to client coordinates of window.
    virtual Point ScreenToClient(WindowId window, Point screen) const = 0;
    // Invalidates rect (nullopt: the whole client area).
    virtual void Invalidate(WindowId window, const std::optional<Rect>& rect, bool erase) = 0;
    // The arrow of a horizontal scroll bar: x its width (SM_CXHSCROLL), y its
    // height (SM_CYHSCROLL); 0 for what the system does not tell. The size
    // of a size grip.
    virtual Point HorizontalScrollArrow() const = 0;

    // --- Painting (inside a WM_PAINT handler) ------------------------------
    // Paints a minimised window: WM_ICONERASEBKGND with the paint DC, then
    // the icon at ((client width - icon width + 1) / 2, (client height -
    // icon height + 1) / 2).
    virtual void PaintMinimizedIcon(WindowId window, IconHandle icon) = 0;
    // Paints the size grip (DFC_SCROLL, DFCS_SCROLLSIZEGRIP) into rect.
    virtual void PaintSizeGrip(WindowId window, const Rect& rect) = 0;
    // Paints chart over the whole client area (child windows excepted),
    // composed off screen and shown in one copy, so that nothing flickers.
    // Nothing is drawn outside the client area.
    virtual void PaintChart(WindowId window, const Chart& chart) = 0;
    // The extent of text as one line in the window's font, the font its
    // charts are drawn in, on the screen's resolution; an empty text is one
    // line high and no pixel wide.
    virtual Size MeasureText(WindowId window, std::string_view text) const = 0;

    // --- Messages and timers ----------------------------------------------
    // Sends a message to the window's dialog now; its result (0 when the
    // dialog left it to default processing or there is no window).
    virtual std::intptr_t Send(WindowId window, const Message& message) = 0;
    // Queues a message for the window; false when there is no window.
    virtual bool Post(WindowId window, const Message& message) = 0;
    // SetTimer(window, id, ms) without a timer procedure: WM_TIMER with
    // wParam id reaches the window every ms milliseconds. Setting an id
    // again restarts it with the new period. Returns id, 0 on failure.
    virtual std::uintptr_t SetTimer(WindowId window, std::uintptr_t id, std::uint32_t ms) = 0;
    // KillTimer: false when no such timer runs.
    virtual bool KillTimer(WindowId window, std::uintptr_t id) = 0;
    // Empties the thread's message queue: every waiting message goes
    // through the dialog's keyboard handling (IsDialogMessageA) or else is
    // translated and dispatched. Returns when the queue is empty.
    virtual void PumpMessages(WindowId dialog) = 0;

    // --- Shell services --------------------------------------------------
    // A modal message box owned by owner (kNoWindow: the thread's active
    // window). Returns the answer: kIdOk, kIdCancel, kIdYes, kIdNo.
    virtual int ShowMessageBox(WindowId owner, std::string_view text, std::string_view caption,
                               std::uint32_t style) = 0;
    // The common open / save-as dialog. The chosen full path, or nullopt
    // when the user cancelled.
    virtual std::optional<std::string> ShowFileDialog(WindowId owner,
                                                      const FileDialogOptions& options) = 0;
    // Opens the document at path in the program the system associates with
    // its type (an HTML page in the default browser), owned by owner. False
    // when the system could not open it.
    virtual bool OpenDocument(WindowId owner, const std::string& path) = 0;
    // The window has a system menu (GetSystemMenu).
    virtual bool HasSystemMenu(WindowId window) const = 0;
    // Appends a separator to the window's system menu.
    virtual void AppendSystemMenuSeparator(WindowId window) = 0;
    // Appends an item with text and command id to the window's system menu;
    // choosing it sends WM_SYSCOMMAND with wParam commandId.
    virtual void AppendSystemMenuItem(WindowId window, int commandId, std::string_view text) = 0;

    // --- Resources of the program ----------------------------------------
    // String resource id; empty when there is none.
    virtual std::string LoadStringResource(int id) const = 0;
    // Icon resource id at the system's standard icon size; 0 when none.
    virtual IconHandle LoadIconResource(int id) const = 0;

    // --- Threads ----------------------------------------------------------
    // Starts body on a worker thread (normal priority, default stack).
    virtual WorkerThread StartThread(std::function<void()> body) = 0;
};

}  // namespace hw::ui
