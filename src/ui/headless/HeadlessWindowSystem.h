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
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/Dialog.h"
#include "ui/WindowSystem.h"
#include "ui/headless/ResourceScript.h"

namespace hw::ui {

class HeadlessWindowSystem final : public WindowSystem {
  public:
    struct ControlState {
        int id = 0;
        std::string className;
        std::uint32_t style = 0;
        std::string text;
        bool enabled = true;
        bool visible = true;
        bool checked = false;
        bool indeterminate = false;  // a three-state box's third state
        Rect rect;                   // pixels, dialog client coordinates
        int rangeLower = 0;
        int rangeUpper = 100;
        int pos = 0;
    };
    struct TimerState {
        std::uintptr_t id = 0;
        std::uint32_t ms = 0;
        friend bool operator==(const TimerState&, const TimerState&) = default;
    };
    struct BoxRecord {
        WindowId owner = kNoWindow;
        std::string text;
        std::string caption;
        std::uint32_t style = 0;
    };
    struct FileDialogRecord {
        WindowId owner = kNoWindow;
        FileDialogOptions options;
    };
    struct MenuItem {
        int commandId = 0;  // 0: a separator
        std::string text;
    };
    struct ModalRecord {
        int templateId = 0;
        WindowId owner = kNoWindow;
        int result = 0;
    };

    // Windows from the program's own resource script.
    HeadlessWindowSystem();
    explicit HeadlessWindowSystem(const ResourceScript& resources);
    ~HeadlessWindowSystem() override;

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
    // Every SetTimer from now on fails (returns 0) while on.
    void FailTimers(bool fail) { failTimers_ = fail; }
    // StartThread runs the body before it returns (deterministic tests).
    void RunThreadsInline(bool inlineThreads) { inlineThreads_ = inlineThreads; }

    // --- What a test does --------------------------------------------------
    // A mouse click on item id: refused (false, nothing happens) when the
    // window, or the item, is disabled or hidden. A button takes the focus. An automatic radio
    // button becomes the checked one of its group, an automatic check box toggles, an automatic
    // three-state box goes from unchecked to checked to indeterminate and round again; then
    // BN_CLICKED goes to the dialog.
    bool Click(WindowId window, int id);
    // WM_COMMAND from item id with code, whatever the item's state; the
    // handler's result, nullopt when default processing took it.
    std::optional<std::intptr_t> SendCommand(WindowId window, int id,
                                             std::uint16_t code = kBnClicked);
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
    bool FireTimer(WindowId window, std::uintptr_t id);
    // Delivers the posted messages, oldest first.
    void DeliverPosted();
    // Sets the client size and sends WM_SIZE (cx, cy).
    void Resize(WindowId window, int width, int height);
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
    const std::vector<BoxRecord>& Boxes() const { return boxes_; }
    void ClearBoxes() { boxes_.clear(); }
    const std::vector<FileDialogRecord>& FileDialogs() const { return fileDialogs_; }
    // The documents opened, by path, oldest first.
    const std::vector<std::string>& DocumentsOpened() const { return documentsOpened_; }
    // Makes every later OpenDocument fail, as when no program is associated
    // with the document's type.
    void FailOpeningDocuments() { openingDocumentsFails_ = true; }
    // Modal runs that ended, in the order they ended.
    const std::vector<ModalRecord>& Modals() const { return modals_; }

    // --- WindowSystem ------------------------------------------------------
    int RunModal(Dialog& dialog, WindowId owner) override;
    WindowId CreateModeless(Dialog& dialog, WindowId owner) override;
    bool EndDialog(WindowId window, int result) override;
    bool DestroyWindow(WindowId window) override;
    void SetTitle(WindowId window, std::string_view text) override;
    std::string Title(WindowId window) const override;
    void EnableWindow(WindowId window, bool enable) override;
    bool IsWindowEnabled(WindowId window) const override;
    bool IsMinimized(WindowId window) const override;
    void SetIcon(WindowId window, IconHandle icon, bool big) override;
    bool HasItem(WindowId window, int id) const override;
    void SetItemText(WindowId window, int id, std::string_view text) override;
    std::string ItemText(WindowId window, int id) const override;
    void EnableItem(WindowId window, int id, bool enable) override;
    bool IsItemEnabled(WindowId window, int id) const override;
    void ShowItem(WindowId window, int id, bool show) override;
    bool IsItemVisible(WindowId window, int id) const override;
    void CheckItem(WindowId window, int id, bool checked) override;
    bool IsItemChecked(WindowId window, int id) const override;
    void SetItemCheckState(WindowId window, int id, CheckState state) override;
    CheckState ItemCheckState(WindowId window, int id) const override;
    void FocusItem(WindowId window, int id) override;
    std::vector<int> RadioGroup(WindowId window, int firstId) const override;
    // Headless windows draw no text: fonts do not matter.
    void UseFixedPitchFont(WindowId, int) override {}
    bool AddButton(WindowId window, int id, const Rect& rect, std::string_view text) override;
    void SetProgressRange(WindowId window, int id, int lower, int upper) override;
    void SetProgressPos(WindowId window, int id, int pos) override;
    Rect ClientRect(WindowId window) const override;
    Rect WindowRect(WindowId window) const override;
    void MoveWindowTo(WindowId window, Point screen) override;
    void PlaceWindow(WindowId window, const Rect& screen) override;
    Rect WorkArea(WindowId) const override { return {0, 0, 1024, 768}; }
    std::optional<Rect> ItemRect(WindowId window, int id) const override;
    void MoveItem(WindowId window, int id, const Rect& rect, bool repaint) override;
    Point ScreenToClient(WindowId window, Point screen) const override;
    void Invalidate(WindowId window, const std::optional<Rect>& rect, bool erase) override;
    Point HorizontalScrollArrow() const override { return {17, 17}; }
    void PaintMinimizedIcon(WindowId window, IconHandle icon) override;
    void PaintSizeGrip(WindowId window, const Rect& rect) override;
    void PaintChart(WindowId window, const Chart& chart) override;
    Size MeasureText(WindowId window, std::string_view text) const override;
    std::intptr_t Send(WindowId window, const Message& message) override;
    bool Post(WindowId window, const Message& message) override;
    std::uintptr_t SetTimer(WindowId window, std::uintptr_t id, std::uint32_t ms) override;
    bool KillTimer(WindowId window, std::uintptr_t id) override;
    void PumpMessages(WindowId dialog) override;
    int ShowMessageBox(WindowId owner, std::string_view text, std::string_view caption,
                       std::uint32_t style) override;
    std::optional<std::string> ShowFileDialog(WindowId owner,
                                              const FileDialogOptions& options) override;
    bool OpenDocument(WindowId owner, const std::string& path) override;
    bool HasSystemMenu(WindowId window) const override;
    void AppendSystemMenuSeparator(WindowId window) override;
    void AppendSystemMenuItem(WindowId window, int commandId, std::string_view text) override;
    std::string LoadStringResource(int id) const override;
    IconHandle LoadIconResource(int id) const override;
    WorkerThread StartThread(std::function<void()> body) override;

  private:
    struct WindowState;

    WindowState* Find(WindowId window) const;
    ControlState* FindControl(WindowId window, int id) const;
    WindowId Open(Dialog& dialog, WindowId owner, bool modal);
    // The thread's active window: the newest window up that is enabled.
    WindowId ActiveWindow() const;
    // Runs a box or file dialog owned by owner: owner is disabled while it
    // is up, as Windows disables it, and enabled again after.
    template <class Body>
    auto RunOwned(WindowId owner, Body body);
    void Close(WindowId window);
    std::optional<std::intptr_t> Dispatch(WindowId window, const Message& message);
    // False when the key does not reach the dialog manager of window.
    bool TakesKey(WindowId window, std::uintptr_t key);
    // DM_GETDEFID's default answer.
    std::intptr_t DefaultButtonAnswer(const WindowState& state) const;
    static std::optional<int> FirstTabStop(const WindowState& state);
    void DeliverDueTimers();

    const ResourceScript& resources_;
    std::map<WindowId, std::unique_ptr<WindowState>> windows_;
    WindowId nextWindow_ = 1;
    std::map<int, std::function<void(Dialog&)>> modalHandlers_;
    std::deque<int> boxAnswers_;
    std::function<int(const BoxRecord&)> boxHook_;
    std::deque<std::pair<std::optional<std::string>, int>> fileAnswers_;
    std::function<std::optional<std::string>(const FileDialogRecord&)> fileHook_;
    std::function<void()> pumpHook_;
    std::function<std::uint64_t()> clock_;
    std::deque<std::pair<WindowId, Message>> posted_;
    std::vector<int> failCreates_;
    bool failTimers_ = false;
    bool inlineThreads_ = false;
    std::vector<BoxRecord> boxes_;
    std::vector<FileDialogRecord> fileDialogs_;
    std::vector<std::string> documentsOpened_;
    bool openingDocumentsFails_ = false;
    std::vector<ModalRecord> modals_;
};

}  // namespace hw::ui
