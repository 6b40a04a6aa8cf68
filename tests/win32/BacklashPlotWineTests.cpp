// The backlash picture on a real window (Wine on the build machine): the
// pixels copied from the window after it painted a known table, and the
// picture's texts on a screen of 144 dots per inch.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "SecondRun.h"
#include "WideTestPlaces.h"
#include "console/backlash/BacklashPlotDialog.h"
#include "platform/win32/Win32FileSystem.h"
#include "ui/Application.h"
#include "ui/win32/Win32WindowSystem.h"

namespace hw::test {
namespace {

// The client area's pixels as 0x00BBGGRR values, row by row from the top.
class ClientPixels {
  public:
    explicit ClientPixels(HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        width_ = client.right;
        height_ = client.bottom;
        pixels_.resize(static_cast<std::size_t>(width_) * height_);
        HDC windowDc = GetDC(window);
        HDC memory = CreateCompatibleDC(windowDc);
        HBITMAP bitmap = CreateCompatibleBitmap(windowDc, width_, height_);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width_, height_, windowDc, 0, 0, SRCCOPY);
        SelectObject(memory, previous);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        GetDIBits(memory, bitmap, 0, static_cast<UINT>(height_), pixels_.data(), &info,
                  DIB_RGB_COLORS);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(window, windowDc);
    }

    // The DIB holds 0x00RRGGBB; the colour as the chart names it.
    ui::Colour At(int x, int y) const {
        const std::uint32_t v = pixels_[static_cast<std::size_t>(y) * width_ + x];
        return ui::Rgb(static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
                       static_cast<std::uint8_t>(v));
    }
    // The colour appears within radius pixels of p.
    bool Near(ui::Point p, ui::Colour colour, int radius) const {
        for (int y = p.y - radius; y <= p.y + radius; ++y) {
            for (int x = p.x - radius; x <= p.x + radius; ++x) {
                if (x >= 0 && y >= 0 && x < width_ && y < height_ && At(x, y) == colour)
                    return true;
            }
        }
        return false;
    }
    int width() const { return width_; }
    int height() const { return height_; }

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

std::array<BacklashEntry, kBacklashSteps> HumpTable() {
    std::array<BacklashEntry, kBacklashSteps> table{};
    for (int i = 0; i < kBacklashSteps; ++i) {
        table[i] = {9.0 * i, i == 12 ? 0.27 : 0.054, i == 30 ? -0.09 : -0.018};
    }
    return table;
}

TEST(BacklashPlotOnWine, SeriesWhereTheyBelongAndNothingOutsideTheBox) {
    ui::Win32WindowSystem windows;
    ui::Application app{windows, "Hexwarden"};
    Win32FileSystem files;
    const auto table = HumpTable();
    BacklashPlotDialog dialog(app, files, table, {108, 0.27});
    ASSERT_TRUE(dialog.Create(ui::kNoWindow));
    const HWND window = reinterpret_cast<HWND>(dialog.window());
    SetWindowPos(window, nullptr, 0, 0, 700, 480, SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    const BacklashPlotLayout plot = dialog.CurrentLayout();
    ASSERT_FALSE(plot.frame.IsEmpty());
    const ClientPixels pixels(window);

    for (const int row : {0, 12, 20, 30, 39}) {
        EXPECT_TRUE(pixels.Near(plot.plus[row], kPlusColour, 1)) << row;
        EXPECT_TRUE(pixels.Near(plot.minus[row], kMinusColour, 1)) << row;
    }
    EXPECT_EQ(pixels.At(plot.mark.x - 5, plot.mark.y), ui::Rgb(0, 0, 0));
    // The series stay in the box; only the legend above it shares their colours.
    int strays = 0;
    for (int y = plot.frame.top; y < pixels.height(); ++y) {
        for (int x = 0; x < pixels.width(); ++x) {
            const ui::Colour c = pixels.At(x, y);
            if ((c == kPlusColour || c == kMinusColour) && !plot.frame.Contains({x, y})) ++strays;
        }
    }
    EXPECT_EQ(strays, 0);
    dialog.DestroyWindow();
}

// Set in the second run of this program that the test starts at 144 dpi.
constexpr const wchar_t* kAt144 = L"HW_PLOT_AT_144_DPI";

// Runs this program again with only this test, at 144 dots per inch; its
// exit code.
DWORD RunAt144Dpi() {
    // The user's screen resolution, which each process reads as it starts.
    const DWORD dpi = 144;
    const UserRegistryValue logPixels(L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi,
                                      sizeof dpi);
    return RunTestAgain(ThisProgram(), L"BacklashPlotOnWine.TextsKeepClearAt144DotsPerInch",
                        kAt144);
}

// The angle labels and their title, the value labels and the legend keep
// clear of each other and of the box in the real font at 144 dots per inch;
// each text's place shows its ink.
TEST(BacklashPlotOnWine, TextsKeepClearAt144DotsPerInch) {
    if (!IsSecondRun(kAt144)) {
        EXPECT_EQ(RunAt144Dpi(), 0u);
        return;
    }
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, 144);
    ui::Win32WindowSystem windows;
    ui::Application app{windows, "Hexwarden"};
    Win32FileSystem files;
    std::array<BacklashEntry, kBacklashSteps> table{};
    for (int i = 0; i < kBacklashSteps; ++i)
        table[i] = {9.0 * i, 0.0125 * (i % 9), -0.0125 * (i % 11)};
    BacklashPlotDialog dialog(app, files, table, {207, -0.125});
    ASSERT_TRUE(dialog.Create(ui::kNoWindow));
    const HWND window = reinterpret_cast<HWND>(dialog.window());
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    const BacklashPlotLayout plot = dialog.CurrentLayout();
    ASSERT_FALSE(plot.frame.IsEmpty());
    EXPECT_GE(plot.lineHeight, 18);  // the 8-point font, half as tall again as at 96 dpi
    const ui::Chart chart = BacklashChart(plot);
    const ClientPixels pixels(window);
    std::vector<ui::Rect> placed;
    for (const ui::ChartText& text : chart.texts) {
        const ui::Size size = windows.geometry.MeasureText(dialog.window(), text.text);
        const int left = text.align == ui::TextAlign::Left     ? text.anchor.x
                         : text.align == ui::TextAlign::Centre ? text.anchor.x - size.width / 2
                                                               : text.anchor.x - size.width;
        const ui::Rect r{left, text.anchor.y, left + size.width, text.anchor.y + size.height};
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= pixels.width() &&
                    r.bottom <= plot.area.bottom)
            << text.text;
        for (const ui::Rect& other : placed) {
            EXPECT_FALSE(r.left < other.right && other.left < r.right && r.top < other.bottom &&
                         other.top < r.bottom)
                << text.text;
        }
        placed.push_back(r);
        EXPECT_TRUE(pixels.Near({(r.left + r.right) / 2, (r.top + r.bottom) / 2}, text.colour,
                                size.height / 2))
            << text.text;
    }
    dialog.DestroyWindow();
}

}  // namespace
}  // namespace hw::test
