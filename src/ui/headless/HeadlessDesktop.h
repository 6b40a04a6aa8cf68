// The state of the headless window system, which its five parts and its test
// hooks share: every dialog window up, built from its template in the
// program's resource script, with its controls, timers, system menu and what
// was painted in it; the posted messages; the boxes, file dialogs, documents
// and modal runs shown, and how the test answers them.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/Shell.h"
#include "ui/Types.h"
#include "ui/headless/ResourceScript.h"

namespace hw::ui {

class Dialog;

// Where every headless window's client area lies on the screen, until moved.
inline constexpr Point kClientOrigin{100, 50};

class HeadlessDesktop {
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
        std::vector<std::string> lines;  // a list box's lines
        int selected = -1;               // a list box's selected line
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
    struct WindowState {
        Dialog* dialog = nullptr;
        int templateId = 0;
        WindowId owner = kNoWindow;
        bool modal = false;
        bool ownerDisabled = false;  // this modal window disabled its owner
        bool ended = false;
        int result = 0;
        std::string title;
        bool enabled = true;
        bool minimized = false;
        bool hasSystemMenu = false;
        Rect client;
        Point origin = kClientOrigin;  // the client area's top left on the screen
        std::vector<ControlState> controls;
        std::vector<TimerState> timers;
        std::map<std::uintptr_t, std::uint64_t> timerDue;  // by timer id, on the clock
        std::optional<int> defaultId;                      // set by DM_SETDEFID
        int killTimerCalls = 0;
        std::vector<MenuItem> menu;
        IconHandle bigIcon = 0;
        IconHandle smallIcon = 0;
        std::optional<int> focus;
        int paintedIcons = 0;
        std::vector<Rect> grips;
        std::vector<std::optional<Rect>> invalidated;
    };

    explicit HeadlessDesktop(const ResourceScript& script);
    ~HeadlessDesktop();
    HeadlessDesktop(const HeadlessDesktop&) = delete;
    HeadlessDesktop& operator=(const HeadlessDesktop&) = delete;

    WindowState* Find(WindowId window) const;
    ControlState* FindControl(WindowId window, int id) const;
    // Builds the dialog's window from its template and initialises it;
    // kNoWindow when there is no template or its creation is to fail.
    WindowId Open(Dialog& dialog, WindowId owner, bool modal);
    void Close(WindowId window);
    // The dialog's answer, else the dialog manager's default processing.
    std::optional<std::intptr_t> Dispatch(WindowId window, const Message& message);
    // The thread's active window: the newest window up that is enabled.
    WindowId ActiveWindow() const;
    // WM_COMMAND from item id with code, whatever the item's state.
    std::optional<std::intptr_t> SendCommand(WindowId window, int id,
                                             std::uint16_t code = kBnClicked);
    // DM_GETDEFID's default answer.
    std::intptr_t DefaultButtonAnswer(const WindowState& state) const;
    static std::optional<int> FirstTabStop(const WindowState& state);
    // WM_TIMER for a timer that runs on window; false when none runs.
    bool FireTimer(WindowId window, std::uintptr_t id);
    void DeliverPosted();
    void DeliverDueTimers();
    // Sets the client size and sends WM_SIZE (cx, cy).
    void Resize(WindowId window, int width, int height);

    const ResourceScript& resources;
    std::map<WindowId, std::unique_ptr<WindowState>> windows;
    WindowId nextWindow = 1;
    std::map<int, std::function<void(Dialog&)>> modalHandlers;
    std::deque<int> boxAnswers;
    std::function<int(const BoxRecord&)> boxHook;
    std::deque<std::pair<std::optional<std::string>, int>> fileAnswers;
    std::function<std::optional<std::string>(const FileDialogRecord&)> fileHook;
    std::function<void()> pumpHook;
    std::function<std::uint64_t()> clock;
    std::deque<std::pair<WindowId, Message>> posted;
    std::vector<int> failCreates;
    std::function<void(int)> createHook;
    bool failTimers = false;
    bool inlineThreads = false;
    std::vector<BoxRecord> boxes;
    std::vector<FileDialogRecord> fileDialogs;
    std::vector<std::string> documentsOpened;
    bool openingDocumentsFails = false;
    std::vector<ModalRecord> modals;
};

// Window class names compare without regard to case.
bool IsButton(const HeadlessDesktop::ControlState& c);
bool IsPushButton(const HeadlessDesktop::ControlState& c);
bool IsRadio(const HeadlessDesktop::ControlState& c);

}  // namespace hw::ui
