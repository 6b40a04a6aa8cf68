// The small value types and constants of the dialog framework: window and
// icon handles, rectangles, a window message, and the numeric values of the
// messages, box styles and answers that the dialogs use. The values are those
// of the Windows API, so that they pass unchanged to the Win32 backend; the
// names avoid the API's own macro names, so that this header and <windows.h>
// may meet in one source file.
#pragma once

#include <cstdint>

namespace hw::ui {

// A window: the HWND value on Win32, an index in the headless backend; 0 is
// no window.
using WindowId = std::uintptr_t;
inline constexpr WindowId kNoWindow = 0;

// A loaded icon: the HICON value on Win32, the resource id in the headless
// backend; 0 is no icon.
using IconHandle = std::uintptr_t;

// Pixels unless stated otherwise. Right and bottom are exclusive.
struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    // IsRectEmpty: no area.
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// One window message as the dialog's message map sees it.
struct Message {
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// Window messages.
inline constexpr std::uint32_t kWmSize = 0x0005;
inline constexpr std::uint32_t kWmPaint = 0x000F;
inline constexpr std::uint32_t kWmClose = 0x0010;
inline constexpr std::uint32_t kWmEraseBkgnd = 0x0014;
inline constexpr std::uint32_t kWmQueryDragIcon = 0x0037;
// F1 was pressed.
inline constexpr std::uint32_t kWmHelp = 0x0053;
inline constexpr std::uint32_t kWmNcHitTest = 0x0084;
// A key went down (wParam: its virtual-key code).
inline constexpr std::uint32_t kWmKeyDown = 0x0100;
inline constexpr std::uint32_t kWmInitDialog = 0x0110;
inline constexpr std::uint32_t kWmCommand = 0x0111;
inline constexpr std::uint32_t kWmSysCommand = 0x0112;
inline constexpr std::uint32_t kWmTimer = 0x0113;
inline constexpr std::uint32_t kWmDeviceChange = 0x0219;
inline constexpr std::uint32_t kWmExitSizeMove = 0x0232;
// A dialog's default button: DM_GETDEFID answers its id in the low word and
// kDcHasDefId in the high word (0 when there is none); DM_SETDEFID (wParam:
// the id) makes another id the default, which need not name a control.
inline constexpr std::uint32_t kDmGetDefId = 0x0400;
inline constexpr std::uint32_t kDmSetDefId = 0x0401;
inline constexpr std::uint16_t kDcHasDefId = 0x534B;
// First message number free for a program's own messages.
inline constexpr std::uint32_t kWmApp = 0x8000;

// Virtual-key codes.
inline constexpr std::uintptr_t kVkReturn = 0x0D;
inline constexpr std::uintptr_t kVkEscape = 0x1B;

// The message is a key-down of key.
constexpr bool IsKeyDown(const Message& message, std::uintptr_t key) {
    return message.message == kWmKeyDown && message.wParam == key;
}

// Notification code of a button click in WM_COMMAND's high word.
inline constexpr std::uint16_t kBnClicked = 0;
// List box notifications (with LBS_NOTIFY): the selection changed, an item
// was double-clicked.
inline constexpr std::uint16_t kLbnSelChange = 1;
inline constexpr std::uint16_t kLbnDblClk = 2;
// WM_SYSCOMMAND: the close command (title bar close box, Alt+F4).
inline constexpr std::uintptr_t kScClose = 0xF060;
// WM_DEVICECHANGE: the device tree changed.
inline constexpr std::uintptr_t kDbtDevNodesChanged = 0x0007;
// WM_NCHITTEST answer: the bottom-right sizing corner.
inline constexpr std::intptr_t kHtBottomRight = 17;

// Message box styles.
inline constexpr std::uint32_t kMbOk = 0x0;
inline constexpr std::uint32_t kMbOkCancel = 0x1;
inline constexpr std::uint32_t kMbYesNo = 0x4;
inline constexpr std::uint32_t kMbIconHand = 0x10;
inline constexpr std::uint32_t kMbIconExclamation = 0x30;
inline constexpr std::uint32_t kMbIconInformation = 0x40;
inline constexpr std::uint32_t kMbDefButton2 = 0x100;

// The framework's help command, which F1 raises.
inline constexpr int kIdHelp = 0xE146;
// Command ids from here up belong to the system menu, never to an application.
inline constexpr int kFirstSystemCommandId = 0xF000;

// Dialog results and message box answers.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// File dialog flags.
inline constexpr std::uint32_t kOfnOverwritePrompt = 0x2;
inline constexpr std::uint32_t kOfnHideReadOnly = 0x4;

// Window and control styles that the framework itself looks at.
inline constexpr std::uint32_t kWsChild = 0x40000000;
inline constexpr std::uint32_t kWsVisible = 0x10000000;
inline constexpr std::uint32_t kWsDisabled = 0x08000000;
inline constexpr std::uint32_t kWsGroup = 0x00020000;
inline constexpr std::uint32_t kWsTabStop = 0x00010000;
// Button kinds: the low four bits of a button's style.
inline constexpr std::uint32_t kBsTypeMask = 0xF;
inline constexpr std::uint32_t kBsPushButton = 0x0;
inline constexpr std::uint32_t kBsDefPushButton = 0x1;
inline constexpr std::uint32_t kBsCheckBox = 0x2;
inline constexpr std::uint32_t kBsAutoCheckBox = 0x3;
inline constexpr std::uint32_t kBsRadioButton = 0x4;
inline constexpr std::uint32_t kBsAuto3State = 0x6;
inline constexpr std::uint32_t kBsGroupBox = 0x7;
inline constexpr std::uint32_t kBsAutoRadioButton = 0x9;
// A list box that tells its owner of clicks and selection changes.
inline constexpr std::uint32_t kLbsNotify = 0x1;

// The state of a check box (BST_*): a three-state box also shows a third,
// greyed state.
enum class CheckState { Unchecked = 0, Checked = 1, Indeterminate = 2 };

// WM_COMMAND's wParam for a notification from a control.
constexpr std::uintptr_t CommandParam(int id, std::uint16_t code = kBnClicked) {
    return (static_cast<std::uintptr_t>(code) << 16) | (static_cast<std::uintptr_t>(id) & 0xFFFF);
}

}  // namespace hw::ui
