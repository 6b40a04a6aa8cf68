// The Report dialog on real windows (Wine on the build machine): its
// template, the text it shows, its controls following the window as it is
// sized, and the size grip in the bottom-right corner.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "WindowCapture.h"
#include "console/windows/ReportDialog.h"
#include "platform/win32/Win32FileSystem.h"
#include "ui/Application.h"
#include "ui/win32/Win32WindowSystem.h"

namespace hw::test {
namespace {

class ReportOnWine : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dialog.Create(ui::kNoWindow));
        ShowWindow(Window(), SW_SHOWNORMAL);
    }
    void TearDown() override { dialog.DestroyWindow(); }

    HWND Window() const { return reinterpret_cast<HWND>(dialog.window()); }

    RECT ItemRect(int item) const {
        RECT r{};
        GetWindowRect(GetDlgItem(Window(), item), &r);
        MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    SIZE ClientSize() const {
        RECT r{};
        GetClientRect(Window(), &r);
        return {r.right, r.bottom};
    }

    // Sizes the window's frame by dx, dy; returns how much the client area changed.
    SIZE GrowFrame(int dx, int dy) {
        const SIZE before = ClientSize();
        RECT frame{};
        GetWindowRect(Window(), &frame);
        SetWindowPos(Window(), nullptr, 0, 0, frame.right - frame.left + dx,
                     frame.bottom - frame.top + dy, SWP_NOMOVE | SWP_NOZORDER);
        const SIZE after = ClientSize();
        return {after.cx - before.cx, after.cy - before.cy};
    }

    LRESULT HitTest(int clientX, int clientY) {
        POINT p{clientX, clientY};
        ClientToScreen(Window(), &p);
        return SendMessageA(Window(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    }

    // The pixels of rect (client coordinates) that differ from its most
    // common colour: 0 for an empty stretch of background.
    int MarksDrawn(const RECT& rect) const {
        std::map<DWORD, int> colours;
        for (DWORD pixel : CaptureClient(Window(), rect)) ++colours[pixel];
        int most = 0;
        for (const auto& [colour, count] : colours) most = std::max(most, count);
        return (rect.right - rect.left) * (rect.bottom - rect.top) - most;
    }

    ui::Win32WindowSystem windows;
    ui::Application app{windows, "Hexwarden"};
    Win32FileSystem files;
    ReportDialog dialog{app, files, "QMV-240 SERVICE REPORT\r\nSerial number   : QMV0117\r\n"};
};

TEST_F(ReportOnWine, ASizableViewerOfTheText) {
    char title[32] = {};
    GetWindowTextA(Window(), title, sizeof title);
    EXPECT_STREQ(title, "Report");
    const auto style = static_cast<DWORD>(GetWindowLongA(Window(), GWL_STYLE));
    EXPECT_EQ(
        style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX),
        static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX));
    EXPECT_EQ(dialog.ItemText(report_id::kText),
              "QMV-240 SERVICE REPORT\r\nSerial number   : QMV0117\r\n");
    const auto edit =
        static_cast<DWORD>(GetWindowLongA(GetDlgItem(Window(), report_id::kText), GWL_STYLE));
    EXPECT_EQ(edit & (ES_MULTILINE | ES_READONLY), static_cast<DWORD>(ES_MULTILINE | ES_READONLY));
    EXPECT_EQ(GetFocus(), GetDlgItem(Window(), report_id::kSave));
    EXPECT_EQ(dialog.Layout().Count(), 3u);
}

// The report's columns line up: its text is drawn in a fixed-pitch font of
// the dialog font's height.
TEST_F(ReportOnWine, TheTextIsShownInAFixedPitchFont) {
    const auto font = [&](HWND hwnd) {
        return reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    };
    LOGFONTA dialogFont{};
    LOGFONTA textFont{};
    GetObjectA(font(Window()), sizeof dialogFont, &dialogFont);
    GetObjectA(font(GetDlgItem(Window(), report_id::kText)), sizeof textFont, &textFont);
    EXPECT_EQ(textFont.lfHeight, dialogFont.lfHeight);
    HDC dc = GetDC(Window());
    HGDIOBJ previous = SelectObject(dc, font(GetDlgItem(Window(), report_id::kText)));
    SIZE narrow{};
    SIZE wide{};
    GetTextExtentPoint32A(dc, "iiii", 4, &narrow);
    GetTextExtentPoint32A(dc, "WWWW", 4, &wide);
    SelectObject(dc, previous);
    ReleaseDC(Window(), dc);
    EXPECT_EQ(narrow.cx, wide.cx);
}

// Size changes that are no mouse drag (maximising, a window manager's snap)
// move the window as they size it, and must leave the buttons and the grip
// drawn at their new places only: first taller, so that the old places fall
// inside the empty text, then wider, so that they fall on the bare dialog.
TEST_F(ReportOnWine, AfterASizeChangeTheWindowShowsTheControlsWhereTheyAre) {
    const auto places = [&] {
        const ui::Rect grip = dialog.GripRect();
        return std::vector<RECT>{ItemRect(report_id::kSave),
                                 ItemRect(report_id::kClose),
                                 {grip.left, grip.top, grip.right, grip.bottom}};
    };
    RECT frame{};
    GetWindowRect(Window(), &frame);
    Settle(windows, Window());
    for (const RECT& to : {RECT{0, 20, 100, 400}, RECT{20, 10, 320, 400}}) {
        const std::vector<RECT> before = places();
        SetWindowPos(Window(), nullptr, to.left, to.top, frame.right - frame.left + to.right,
                     frame.bottom - frame.top + to.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
        Settle(windows, Window());
        const std::vector<RECT> after = places();
        for (std::size_t i = 0; i < after.size(); ++i) {
            EXPECT_GT(MarksDrawn(after[i]), 0) << to.right << " new place " << i;
            EXPECT_EQ(MarksDrawn(before[i]), 0) << to.right << " old place " << i;
        }
    }
    EXPECT_GT(ClientSize().cy, 620);
}

// A viewer opened where the last one was left takes that place and size, its
// buttons as far from the corner as in the template's size.
TEST_F(ReportOnWine, OpensWhereTheLastViewerWasLeft) {
    std::optional<ui::Rect> place = ui::Rect{40, 30, 740, 530};
    ReportDialog again{app, files, "text"};
    again.KeepPlaceIn(place);
    ASSERT_TRUE(again.Create(ui::kNoWindow));
    HWND hwnd = reinterpret_cast<HWND>(again.window());
    EXPECT_EQ(again.WindowRect(), *place);
    const auto cornerGap = [](HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        RECT close{};
        GetWindowRect(GetDlgItem(window, report_id::kClose), &close);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&close), 2);
        return SIZE{client.right - close.right, client.bottom - close.bottom};
    };
    const SIZE gap = cornerGap(hwnd);
    const SIZE templateGap = cornerGap(Window());
    EXPECT_EQ(gap.cx, templateGap.cx);
    EXPECT_EQ(gap.cy, templateGap.cy);
    again.DestroyWindow();
}

TEST_F(ReportOnWine, ShrunkAsFarAsItGoesAndGrownBackEveryControlReturns) {
    const RECT save = ItemRect(report_id::kSave);
    const RECT text = ItemRect(report_id::kText);
    const SIZE shrunk = GrowFrame(-2000, -2000);
    ASSERT_LT(shrunk.cx, -300);
    GrowFrame(-shrunk.cx, -shrunk.cy);
    const RECT saveBack = ItemRect(report_id::kSave);
    const RECT textBack = ItemRect(report_id::kText);
    EXPECT_TRUE(EqualRect(&save, &saveBack));
    EXPECT_TRUE(EqualRect(&text, &textBack));
}

TEST_F(ReportOnWine, TheGripSizesFromTheBottomRightCorner) {
    const SIZE client = ClientSize();
    const int cx = GetSystemMetrics(SM_CXHSCROLL);
    const int cy = GetSystemMetrics(SM_CYHSCROLL);
    EXPECT_EQ(HitTest(client.cx - 1, client.cy - 1), HTBOTTOMRIGHT);
    EXPECT_EQ(HitTest(client.cx - cx, client.cy - cy), HTBOTTOMRIGHT);
    EXPECT_NE(HitTest(client.cx - cx - 1, client.cy - 1), HTBOTTOMRIGHT);
    EXPECT_EQ(HitTest(client.cx / 2, client.cy / 2), HTCLIENT);
    EXPECT_EQ(dialog.GripRect(), (ui::Rect{client.cx - cx, client.cy - cy, client.cx, client.cy}));
}

}  // namespace
}  // namespace hw::test
