// The base of every dialog: a window built from a dialog template, run
// modally (DoModal) or modeless (Create / DestroyWindow), with a message map,
// data exchange and the calls on its own window and its controls.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "ui/MessageMap.h"
#include "ui/Types.h"

namespace hw::ui {

class Application;
class DataExchange;

class Dialog {
  public:
    Dialog(Application& app, int templateId);
    // A modeless window still up is destroyed.
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    int templateId() const { return templateId_; }
    // The dialog's window; kNoWindow before it is created and after it is gone.
    WindowId window() const { return window_; }
    Application& app() const { return app_; }

    // Runs the dialog modally, owned by the application's main window (none
    // when there is none or it is this dialog). Returns the EndDialog result,
    // -1 when the window could not be created.
    int DoModal();
    int DoModal(WindowId owner);
    // Creates the dialog as a modeless window owned by owner. False when the
    // window could not be created.
    bool Create(WindowId owner);
    // Destroys the window (a modeless dialog's end). False when there is none.
    virtual bool DestroyWindow();
    // Ends a modal dialog with result.
    void EndDialog(int result);

    // Runs DoDataExchange: from the controls into the members when
    // saveAndValidate, else from the members into the controls. False when
    // the exchange failed (a bound control is missing, a radio group is not
    // one, or DoDataExchange called DataExchange::Fail).
    bool UpdateData(bool saveAndValidate = true);

    // --- The dialog's own window ------------------------------------------
    void SetTitle(std::string_view text);
    std::string Title() const;
    void EnableWindow(bool enable);
    bool IsWindowEnabled() const;
    bool IsMinimized() const;
    void SetIcon(IconHandle icon, bool big);
    // SetTimer on this window: returns id, 0 on failure.
    std::uintptr_t SetTimer(std::uintptr_t id, std::uint32_t ms);
    bool KillTimer(std::uintptr_t id);
    // A box owned by this window, told to the application's box observer
    // once answered; an empty caption means the program name. Returns the
    // answer (kIdOk, kIdCancel, ...).
    int ShowMessageBox(std::string_view text, std::string_view caption = {},
                       std::uint32_t style = kMbOk);
    std::intptr_t Send(const Message& message);
    bool Post(const Message& message);
    Rect ClientRect() const;
    Rect WindowRect() const;
    void MoveWindowTo(Point screen);
    Rect WorkArea() const;
    Point ScreenToClient(Point screen) const;
    void Invalidate(const std::optional<Rect>& rect, bool erase);

    // --- Its controls (see DialogItems for each call) -------------------------
    bool HasItem(int id) const;
    void SetItemText(int id, std::string_view text);
    std::string ItemText(int id) const;
    void EnableItem(int id, bool enable);
    bool IsItemEnabled(int id) const;
    void ShowItem(int id, bool show);
    bool IsItemVisible(int id) const;
    void CheckItem(int id, bool checked);
    bool IsItemChecked(int id) const;
    void SetItemCheckState(int id, CheckState state);
    CheckState ItemCheckState(int id) const;
    void FocusItem(int id);
    void UseFixedPitchFont(int id);
    std::optional<Rect> ItemRect(int id) const;
    void MoveItem(int id, const Rect& rect, bool repaint = true);

    // --- Called by the window systems only --------------------------------
    // WM_INITDIALOG: attaches window and runs OnInitDialog; its result.
    bool HandleInitDialog(WindowId window);
    // Any other message: the first matching message map entry's result,
    // IDOK / IDCANCEL to OnOK / OnCancel, F1 (WM_HELP) as the help command,
    // a command the application's command map handles, or nullopt for
    // default processing.
    std::optional<std::intptr_t> HandleMessage(const Message& message);
    // The window is gone (WM_NCDESTROY).
    void HandleDestroyed();
    // A message from the queue for this dialog or one of its controls,
    // before the dialog manager's keyboard handling (Enter, Esc, Tab) sees
    // it: true when the dialog took it, and it goes no further. Base: false.
    virtual bool PreTranslateMessage(const Message& message);

  protected:
    // Base: UpdateData(false) (controls are bound and filled); true, so that
    // the focus goes to the first tab stop.
    virtual bool OnInitDialog();
    // IDOK (Enter, the default button). Base: UpdateData(true), and when
    // that succeeds EndDialog(kIdOk).
    virtual void OnOK();
    // IDCANCEL (Escape, the close box, a button with id 2). Base:
    // EndDialog(kIdCancel).
    virtual void OnCancel();
    // Binds and exchanges the members with the controls. Base: nothing.
    virtual void DoDataExchange(DataExchange& dx);
    // The dialog's message map; base: none.
    virtual std::span<const MessageMapEntry> GetMessageMap() const;
    // Inside a message handler: leaves the message to the default
    // processing (the handler's result is then ignored). Returns 0.
    std::intptr_t Default();
    // Runs a button's handler from the message map (a Kind::Command entry).
    // Base: calls it; a dialog may wrap the call, e.g. to record it.
    virtual void RunCommand(int id, const std::function<void()>& handler);

  private:
    Application& app_;
    int templateId_;
    WindowId window_ = kNoWindow;
    bool defaultRequested_ = false;
};

}  // namespace hw::ui
