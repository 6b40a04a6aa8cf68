// The dialog framework on real windows (Wine on the build machine): the main
// console's template as the dialog manager builds it, the message map behind
// the real dialog procedure, timers, the system menu, the program's other
// resources, and a screenshot of the window kept as a test artifact.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "ui/Application.h"
#include "ui/Controls.h"
#include "ui/DataExchange.h"
#include "ui/Dialog.h"
#include "ui/MainDialogLayout.h"
#include "ui/win32/Win32WindowSystem.h"

namespace hw::test {
namespace {

constexpr int kMainTemplate = 102;
constexpr UINT kEndMessage = WM_APP + 1;

// A dialog on the main console's template with a message map of its own.
class ProbeDialog : public ui::Dialog {
  public:
    explicit ProbeDialog(ui::Application& app) : Dialog(app, kMainTemplate) {}

    ui::EditControl serial;
    int mode = 0;
    std::vector<std::string> calls;

  protected:
    void DoDataExchange(ui::DataExchange& dx) override {
        dx.Control(1012, serial);
        dx.Radio(1006, mode);
    }
    std::span<const ui::MessageMapEntry> GetMessageMap() const override;

  private:
    void OnGetReport() { calls.push_back("report"); }
    void OnRadio() {
        calls.push_back("radio");
        UpdateData(true);
    }
    void OnTimer(std::uintptr_t event) {
        calls.push_back("timer " + std::to_string(event));
        KillTimer(event);
    }
    bool OnDeviceChange(std::uintptr_t event, std::intptr_t) {
        calls.push_back("device " + std::to_string(event));
        return true;
    }
    void OnSysCommand(std::uintptr_t command) {
        if (command != 16) {
            Default();
            return;
        }
        calls.push_back("about");
    }
    std::intptr_t OnEnd(const ui::Message& m) {
        EndDialog(static_cast<int>(m.wParam));
        return 0;
    }

    static const ui::MessageMapEntry messageMap[];
};

constinit const ui::MessageMapEntry ProbeDialog::messageMap[] = {
    ui::OnSysCommand<&ProbeDialog::OnSysCommand>(),
    ui::OnCommand<&ProbeDialog::OnGetReport>(1005),
    ui::OnTimer<&ProbeDialog::OnTimer>(),
    ui::OnCommandRange<&ProbeDialog::OnRadio>(1006, 1049),
    ui::OnDeviceChange<&ProbeDialog::OnDeviceChange>(),
    ui::OnMessage<&ProbeDialog::OnEnd>(kEndMessage),
};

std::span<const ui::MessageMapEntry> ProbeDialog::GetMessageMap() const {
    return messageMap;
}

// The probe dialog shown modeless, so that the test can act on it.
struct Shown {
    Shown() { EXPECT_TRUE(dialog.Create(ui::kNoWindow)); }
    HWND hwnd() const { return reinterpret_cast<HWND>(dialog.window()); }

    ui::Win32WindowSystem windows;
    ui::Application app{windows, "Hexwarden"};
    ProbeDialog dialog{app};
};

std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::string TextOf(HWND hwnd) {
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// Pumps the thread's messages until done() or the time is up; done() then.
template <class Done>
bool PumpUntil(ui::WindowSystem& windows, ui::WindowId dialog, Done done,
               std::chrono::milliseconds limit = std::chrono::seconds(2)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        windows.messages.PumpMessages(dialog);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

TEST(DialogTemplate, MainConsoleHasAllItsControlsInTemplateOrder) {
    Shown s;
    ASSERT_NE(s.hwnd(), nullptr);
    std::vector<HWND> children;
    for (HWND child = GetWindow(s.hwnd(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    ASSERT_EQ(children.size(), kMainDialogLayout.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        const LayoutRow& want = kMainDialogLayout[i];
        HWND child = children[i];
        SCOPED_TRACE("control " + std::to_string(i) + " id " + std::to_string(want.id));
        EXPECT_EQ(GetDlgCtrlID(child), want.id);
        const auto style = static_cast<std::uint32_t>(GetWindowLongA(child, GWL_STYLE));
        EXPECT_EQ(KindOf(ClassOf(child), style), want.kind) << ClassOf(child);
        EXPECT_EQ(TextOf(child), want.caption);
        EXPECT_EQ((style & WS_VISIBLE) != 0, want.visible);
        EXPECT_TRUE(IsWindowEnabled(child));
        // The template's dialog units in this dialog's pixels: the dialog
        // manager maps the origin and the size each on its own.
        RECT mapped{want.x, want.y, want.width, want.height};
        ASSERT_TRUE(MapDialogRect(s.hwnd(), &mapped));
        const RECT expected{mapped.left, mapped.top, mapped.left + mapped.right,
                            mapped.top + mapped.bottom};
        RECT screen{};
        ASSERT_TRUE(GetWindowRect(child, &screen));
        POINT corners[2] = {{screen.left, screen.top}, {screen.right, screen.bottom}};
        ScreenToClient(s.hwnd(), &corners[0]);
        ScreenToClient(s.hwnd(), &corners[1]);
        EXPECT_EQ(corners[0].x, expected.left);
        EXPECT_EQ(corners[0].y, expected.top);
        EXPECT_EQ(corners[1].x, expected.right);
        EXPECT_EQ(corners[1].y, expected.bottom);
        if (want.id != -1) {
            EXPECT_EQ(s.dialog.ItemRect(want.id),
                      (ui::Rect{expected.left, expected.top, expected.right, expected.bottom}));
        }
    }
}

TEST(DialogTemplate, FrameTitleAndClientSize) {
    Shown s;
    const auto style = static_cast<std::uint32_t>(GetWindowLongA(s.hwnd(), GWL_STYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU),
              WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0u);
    EXPECT_EQ(s.dialog.Title(), "Hexwarden");
    s.dialog.SetTitle("Hexwarden - OFFLINE");
    EXPECT_EQ(TextOf(s.hwnd()), "Hexwarden - OFFLINE");
    RECT size{0, 0, kMainDialogWidth, kMainDialogHeight};
    ASSERT_TRUE(MapDialogRect(s.hwnd(), &size));
    EXPECT_EQ(s.dialog.ClientRect(), (ui::Rect{0, 0, size.right, size.bottom}));
}

TEST(DialogTemplate, ClicksAndDeviceChangesReachTheMessageMap) {
    Shown s;
    SendDlgItemMessageA(s.hwnd(), 1005, BM_CLICK, 0, 0);
    // The radio click checks "measured" and the range entry saves it.
    SendDlgItemMessageA(s.hwnd(), 1049, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(s.hwnd(), WM_DEVICECHANGE, ui::kDbtDevNodesChanged, 0), 1);
    EXPECT_EQ(s.dialog.calls, (std::vector<std::string>{"report", "radio", "device 7"}));
    EXPECT_EQ(s.dialog.mode, 1);
    EXPECT_FALSE(s.dialog.IsItemChecked(1006));
}

TEST(DialogTemplate, DataExchangeWithRealControls) {
    Shown s;
    // Mode 0 checked "percent" at initialisation.
    EXPECT_TRUE(s.dialog.IsItemChecked(1006));
    s.dialog.serial.SetText("AB12345");
    EXPECT_EQ(s.dialog.ItemText(1012), "AB12345");
    s.dialog.CheckItem(1006, false);
    ASSERT_TRUE(s.dialog.UpdateData(true));
    EXPECT_EQ(s.dialog.mode, -1);
    s.dialog.mode = 1;
    ASSERT_TRUE(s.dialog.UpdateData(false));
    EXPECT_TRUE(s.dialog.IsItemChecked(1049));
    EXPECT_FALSE(s.dialog.IsItemChecked(1006));
    s.dialog.EnableItem(1051, false);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(s.hwnd(), 1051)));
    EXPECT_FALSE(s.dialog.IsItemVisible(1023));
    EXPECT_TRUE(s.dialog.IsItemVisible(1012));
}

TEST(DialogTemplate, TimersAndPostedMessagesArriveThroughThePump) {
    Shown s;
    EXPECT_EQ(s.dialog.SetTimer(1, 20), 1u);
    EXPECT_TRUE(PumpUntil(s.windows, s.dialog.window(), [&] { return !s.dialog.calls.empty(); }));
    EXPECT_EQ(s.dialog.calls, (std::vector<std::string>{"timer 1"}));
    // The handler killed it.
    EXPECT_FALSE(s.dialog.KillTimer(1));
    ASSERT_TRUE(s.dialog.Post({ui::kWmDeviceChange, 3, 0}));
    s.windows.messages.PumpMessages(s.dialog.window());
    EXPECT_EQ(s.dialog.calls.back(), "device 3");
}

TEST(DialogTemplate, PumpLeavesAQuitRequestForTheMainLoop) {
    Shown s;
    PostQuitMessage(3);
    s.windows.messages.PumpMessages(s.dialog.window());
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST(DialogTemplate, SystemMenuEntryReachesTheHandler) {
    Shown s;
    ASSERT_TRUE(s.windows.shell.HasSystemMenu(s.dialog.window()));
    HMENU menu = GetSystemMenu(s.hwnd(), FALSE);
    const int before = GetMenuItemCount(menu);
    s.windows.shell.AppendSystemMenuSeparator(s.dialog.window());
    s.windows.shell.AppendSystemMenuItem(s.dialog.window(), 16,
                                         s.windows.shell.LoadStringResource(101));
    ASSERT_EQ(GetMenuItemCount(menu), before + 2);
    char text[64] = {};
    GetMenuStringA(menu, 16, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "&About Hexwarden...");
    SendMessageA(s.hwnd(), WM_SYSCOMMAND, 16, 0);
    SendMessageA(s.hwnd(), WM_SYSCOMMAND, 31, 0);
    EXPECT_EQ(s.dialog.calls, (std::vector<std::string>{"about", "about"}));
}

TEST(DialogTemplate, ModalRunEndsWithItsResult) {
    ui::Win32WindowSystem windows;
    ui::Application app(windows, "Hexwarden");
    ProbeDialog dialog(app);
    // Posted before the loop starts; the modal loop delivers it.
    std::thread poster([&] {
        for (int i = 0; i < 200; ++i) {
            if (HWND hwnd = FindWindowA(nullptr, "Hexwarden")) {
                PostMessageA(hwnd, kEndMessage, 7, 0);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    EXPECT_EQ(dialog.DoModal(), 7);
    poster.join();
    EXPECT_EQ(dialog.window(), ui::kNoWindow);
}

TEST(ProgramResources, IconVersionBlockAndManifest) {
    ui::Win32WindowSystem windows;
    EXPECT_NE(windows.shell.LoadIconResource(128), 0u);
    EXPECT_EQ(windows.shell.LoadStringResource(101), "&About Hexwarden...");
    EXPECT_NE(FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)), nullptr);

    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));
    const auto value = [&](const char* key) {
        char* text = nullptr;
        UINT length = 0;
        const std::string query = std::string("\\StringFileInfo\\040904b0\\") + key;
        if (!VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&text),
                            &length)) {
            return std::string("(missing)");
        }
        return std::string(text);
    };
    EXPECT_EQ(value("FileVersion"), "1, 0, 0, 0");
    EXPECT_EQ(value("InternalName"), "Hexwarden");
    EXPECT_EQ(value("LegalCopyright"), "Copyright (C) 2026 Hexwarden developers");
}

// Writes a top-down 32-bit pixel buffer as a BMP file.
void WriteBmp(const std::string& file, int width, int height, const std::vector<DWORD>& pixels) {
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = -height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    const auto bytes = static_cast<DWORD>(pixels.size() * sizeof(DWORD));
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + bytes;
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(reinterpret_cast<const char*>(pixels.data()), bytes);
}

// Saves the console window as console-102.bmp in the test's working
// directory (the build tree), for a later look at the real layout.
// The main console's font ("MS Sans Serif", 8 point) at a screen's dots per
// inch, with the dialog base units the dialog manager derives from it.
struct DialogFontAt {
    explicit DialogFontAt(int dpi) {
        LOGFONTA face{};
        face.lfHeight = -MulDiv(8, dpi, 72);
        face.lfCharSet = DEFAULT_CHARSET;
        lstrcpyA(face.lfFaceName, "MS Sans Serif");
        font = CreateFontIndirectA(&face);
        old = SelectObject(dc, font);
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        SIZE letters{};
        const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        GetTextExtentPoint32A(dc, alphabet, 52, &letters);
        baseX = (letters.cx / 26 + 1) / 2;
        baseY = metrics.tmHeight;
    }
    ~DialogFontAt() {
        SelectObject(dc, old);
        DeleteObject(font);
        DeleteDC(dc);
    }
    // The rectangle the text needs with each of its lines kept whole: a
    // left-aligned static control wraps a line wider than itself at its
    // blanks.
    RECT Needs(const std::string& text) const {
        RECT rect{0, 0, 0, 0};
        DrawTextA(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_LEFT);
        return rect;
    }

    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = nullptr;
    HGDIOBJ old = nullptr;
    int baseX = 0;
    int baseY = 0;
};

// The labels whose texts grow once the machine has answered show them whole
// at 96 and at 120 DPI: no line wrapped or cut off at the right, no line
// below the control's bottom.
TEST(DialogTemplate, LabelTextsFitTheirControlsAt96And120Dpi) {
    struct Label {
        int id;
        std::vector<std::string> texts;
    };
    const Label labels[] = {
        {1054, {"Backlash=--deg", "Backlash=0.090deg", "Backlash=-0.090deg"}},
        {1053, {"Angle=--deg", "Angle=207.0deg"}},
        {1028, {"--C --F", "142C\n287F", "-10C\n14F"}},
        {1027, {"--A", "1.4A"}},
    };
    // The model of the font agrees with the dialog manager at this screen's
    // 96 DPI.
    {
        Shown s;
        RECT units{0, 0, 4, 8};
        ASSERT_TRUE(MapDialogRect(s.hwnd(), &units));
        const DialogFontAt font(96);
        ASSERT_EQ(units.right, font.baseX);
        ASSERT_EQ(units.bottom, font.baseY);
    }
    for (int dpi : {96, 120}) {
        const DialogFontAt font(dpi);
        for (const Label& label : labels) {
            const auto row = std::find_if(kMainDialogLayout.begin(), kMainDialogLayout.end(),
                                          [&](const LayoutRow& r) { return r.id == label.id; });
            ASSERT_NE(row, kMainDialogLayout.end());
            const int width = MulDiv(row->width, font.baseX, 4);
            const int height = MulDiv(row->height, font.baseY, 8);
            for (const std::string& text : label.texts) {
                SCOPED_TRACE(std::to_string(dpi) + " DPI: " + text);
                const RECT needs = font.Needs(text);
                EXPECT_LE(needs.right, width);
                EXPECT_LE(needs.bottom, height);
            }
        }
    }
}

TEST(DialogTemplate, Screenshot) {
    Shown s;
    s.dialog.SetTitle("Hexwarden - OFFLINE");
    UpdateWindow(s.hwnd());
    // Lets it paint.
    PumpUntil(
        s.windows, s.dialog.window(), [] { return false; }, std::chrono::milliseconds(500));
    RECT frame{};
    GetWindowRect(s.hwnd(), &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    ASSERT_GT(width, 0);

    // Copied out of the window's own device context: the pixels the window
    // drew, whatever lies over it on the display.
    HDC source = GetWindowDC(s.hwnd());
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const DWORD*>(bits);
    std::vector<DWORD> pixels(first, first + static_cast<std::size_t>(width) * height);
    // GDI leaves the fourth byte undefined; viewers would take it for alpha.
    for (DWORD& pixel : pixels) pixel |= 0xFF000000;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(s.hwnd(), source);

    WriteBmp("console-102.bmp", width, height, pixels);
    // A drawn window, text included, has many colours in it.
    std::vector<DWORD> sorted = pixels;
    std::sort(sorted.begin(), sorted.end());
    const auto distinct = std::unique(sorted.begin(), sorted.end()) - sorted.begin();
    EXPECT_GT(distinct, 16);
}

}  // namespace
}  // namespace hw::test
