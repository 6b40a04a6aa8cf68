// The window system without windows, for native tests. Each dialog window is
// a record built from its template in the program's resource script: every
// control's text, enabled, visible and checked state, timers, icons, system
// menu. Boxes and file dialogs are recorded and answered from queues that a
// test fills; a test clicks controls, sends messages and fires timers.
//
// A modal dialog is "up" while the handler registered for its template
// (OnModal) runs; the handler acts inside it (clicks, fires its timer,
// answers its boxes) and ends it with EndDialog. Without a handler the
// dialog gets IDCANCEL (as from Escape) at once; a handler that returns
// without ending it has IDCANCEL sent too, and if the dialog still does not
// end, RunModal ends it with kIdCancel. A modeless dialog stays up until it
// is destroyed.
//
// Geometry: dialog units become pixels with the base units 6 x 13 (x * 6 / 4,
// y * 13 / 8); a dialog's client area starts as its template size and lies
// at the screen point (100, 50) until it is moved. A window has no frame: its
// window rectangle is its client area. Every window lies in one work area,
// (0, 0) to (1024, 768).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/Dialog.h"
#include "ui/WindowSystem.h"
#include "ui/headless/HeadlessDesktop.h"
#include "ui/headless/HeadlessDialogWindows.h"
#include "ui/headless/HeadlessGeometry.h"
#include "ui/headless/HeadlessItems.h"
#include "ui/headless/HeadlessListBoxes.h"
#include "ui/headless/HeadlessMessages.h"
#include "ui/headless/HeadlessShell.h"
#include "ui/headless/ResourceScript.h"

namespace hw::ui {

// The five parts of the window system, over one desktop, and what a test
// sets up, does and inspects on that desktop.
class HeadlessWindowSystem final : public WindowSystem {
  public:
    using ControlState = HeadlessDesktop::ControlState;
    using TimerState = HeadlessDesktop::TimerState;
    using BoxRecord = HeadlessDesktop::BoxRecord;
    using FileDialogRecord = HeadlessDesktop::FileDialogRecord;
    using MenuItem = HeadlessDesktop::MenuItem;
    using ModalRecord = HeadlessDesktop::ModalRecord;

    // Windows from the program's own resource script.
    HeadlessWindowSystem();
    explicit HeadlessWindowSystem(const ResourceScript& resources);
    HeadlessWindowSystem(const HeadlessWindowSystem&) = delete;
    HeadlessWindowSystem& operator=(const HeadlessWindowSystem&) = delete;

    // --- What a test sets up ------------------------------------------------
    // Runs handler while a modal dialog of templateId is up (every time one
    // is run, until replaced; an empty function removes it).
    void OnModal(int templateId, std::function<void(Dialog&)> handler);
    // The answer of the next box; when none is queued, the box hook decides,
    // else the first button's answer (kIdOk, or kIdYes for kMbYesNo).
    void QueueBoxAnswer(int answer);
    // Called for each box shown while no answer is queued; returns the answer.
    void OnBox(std::function<int(const BoxRecord&)> hook);
    // The answer of the next file dialog: a path, or nullopt to cancel. With
    // none queued the file dialog hook decides, else it is cancelled.
    // filter: the 1-based number of the filter chosen with it.
    void QueueFileAnswer(std::optional<std::string> path, int filter = 1);
    // Called for each file dialog shown while no answer is queued, while it
    // is up; returns the answer.
    void OnFileDialog(std::function<std::optional<std::string>(const FileDialogRecord&)> hook);
    // Called by each PumpMessages after the posted messages are delivered:
    // a long procedure's message pump lets the test act (press Stop).
    void OnPump(std::function<void()> hook);
    // The clock timers run on (milliseconds). With one, every PumpMessages
    // delivers WM_TIMER once for each timer whose period has passed since it
    // was set or last delivered, after the posted messages, as Windows does;
    // without one, timers fire only by FireTimer.
    void UseClock(std::function<std::uint64_t()> nowMs);
    // The next creation of a dialog from templateId fails.
    void FailNextCreate(int templateId);
    // Called as each dialog window is made, before WM_INITDIALOG, with its
    // template id: where a test lets pass the time making it takes.
    void OnCreate(std::function<void(int templateId)> hook) {
        desktop_.createHook = std::move(hook);
    }
    // Every SetTimer from now on fails (returns 0) while on.
    void FailTimers(bool fail) { desktop_.failTimers = fail; }
    // StartThread runs the body before it returns (deterministic tests).
    void RunThreadsInline(bool inlineThreads) { desktop_.inlineThreads = inlineThreads; }

    // --- What a test does --------------------------------------------------
    // A mouse click on item id: refused (false, nothing happens) when the
    // window, or the item, is disabled or hidden. A button takes the focus. An automatic radio
    // button becomes the checked one of its group, an automatic check box toggles, an automatic
    // three-state box goes from unchecked to checked to indeterminate and round again; then
    // BN_CLICKED goes to the dialog.
    bool Click(WindowId window, int id);
    // A double-click on line index of list box id, as the mouse gives it:
    // the list takes the focus and selects the line, and a list with
    // LBS_NOTIFY tells its window LBN_SELCHANGE when the selection changed,
    // then LBN_DBLCLK. False when the window, list or line cannot take it.
    bool DoubleClickListLine(WindowId window, int id, int index);
    // WM_COMMAND from item id with code, whatever the item's state; the
    // handler's result, nullopt when default processing took it.
    std::optional<std::intptr_t> SendCommand(WindowId window, int id,
                                             std::uint16_t code = kBnClicked) {
        return desktop_.SendCommand(window, id, code);
    }
    // Types text into an edit: the edit takes the focus and the text (no
    // notification).
    void Type(WindowId window, int id, std::string_view text);
    // The keys go as IsDialogMessage sends them, to an enabled window only;
    // the dialog sees them first (PreTranslateMessage) and may take them. Enter: the focused push
    // button's id; else the default button's id (DM_GETDEFID: the id DM_SETDEFID set, else the
    // template's BS_DEFPUSHBUTTON), nothing when that button is disabled; else IDOK. Escape:
    // IDCANCEL. The close box: WM_SYSCOMMAND SC_CLOSE through the message map; left to default,
    // WM_CLOSE; left to default, IDCANCEL.
    void PressEnter(WindowId window);
    void PressEscape(WindowId window);
    void PressCloseBox(WindowId window);
    // WM_TIMER for a timer that runs on window; false (nothing sent) when
    // no such timer runs.
    bool FireTimer(WindowId window, std::uintptr_t id) { return desktop_.FireTimer(window, id); }
    // Delivers the posted messages, oldest first.
    void DeliverPosted() { desktop_.DeliverPosted(); }
    // Sets the client size and sends WM_SIZE (cx, cy).
    void Resize(WindowId window, int width, int height) { desktop_.Resize(window, width, height); }
    void SetMinimized(WindowId window, bool minimized);
    // Removes an item, as if the template lacked it.
    void RemoveItem(WindowId window, int id);

    // --- What a test inspects ----------------------------------------------
    bool IsUp(WindowId window) const;
    // The newest window up that was built from templateId; nullptr: none.
    Dialog* FindDialog(int templateId) const;
    const ControlState* FindItem(WindowId window, int id) const;
    // The item; throws std::out_of_range when there is none.
    const ControlState& Item(WindowId window, int id) const;
    std::vector<const ControlState*> Items(WindowId window) const;
    std::vector<TimerState> ActiveTimers(WindowId window) const;
    // KillTimer calls on the window, whether or not a timer ran.
    int KillTimerCalls(WindowId window) const;
    std::vector<MenuItem> SystemMenu(WindowId window) const;
    IconHandle Icon(WindowId window, bool big) const;
    std::optional<int> FocusedItem(WindowId window) const;
    // Icons painted by PaintMinimizedIcon, size grips by PaintSizeGrip.
    int PaintedIcons(WindowId window) const;
    std::vector<Rect> PaintedGrips(WindowId window) const;
    // Rectangles invalidated (nullopt: the whole client area).
    std::vector<std::optional<Rect>> Invalidated(WindowId window) const;
    const std::vector<BoxRecord>& Boxes() const { return desktop_.boxes; }
    void ClearBoxes() { desktop_.boxes.clear(); }
    const std::vector<FileDialogRecord>& FileDialogs() const { return desktop_.fileDialogs; }
    // The documents opened, by path, oldest first.
    const std::vector<std::string>& DocumentsOpened() const { return desktop_.documentsOpened; }
    // Makes every later OpenDocument fail, as when no program is associated
    // with the document's type.
    void FailOpeningDocuments() { desktop_.openingDocumentsFails = true; }
    // Modal runs that ended, in the order they ended.
    const std::vector<ModalRecord>& Modals() const { return desktop_.modals; }

  private:
    // False when the key does not reach the dialog manager of window.
    bool TakesKey(WindowId window, std::uintptr_t key);

    HeadlessDesktop desktop_;
    HeadlessDialogWindows windows_{desktop_};
    HeadlessItems items_{desktop_};
    HeadlessListBoxes lists_{desktop_};
    HeadlessGeometry geometry_{desktop_};
    HeadlessMessages messages_{desktop_};
    HeadlessShell shell_{desktop_};
};

}  // namespace hw::ui
