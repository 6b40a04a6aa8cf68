#include "ui/win32/Win32Geometry.h"

#include "ui/win32/Win32Handles.h"

#include "ui/win32/ChartPainter.h"

namespace hw::ui {

namespace {

// The font a control draws with: the one it was given, else the system font.
LOGFONTW FontOf(HWND item) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(item, WM_GETFONT, 0, 0));
    if (font == nullptr) font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    LOGFONTW logFont{};
    GetObjectW(font, sizeof logFont, &logFont);
    return logFont;
}

bool IsFixedPitch(HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    const bool got = GetTextMetricsW(dc, &metrics) != FALSE;
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    // The flag, despite its name, is set for a proportional font.
    return got && (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
}

// "Courier New" in the size, weight and character set of like; nullptr when
// the system offers no fixed-pitch font for it.
HFONT CreateFixedPitchFont(LOGFONTW like) {
    like.lfWidth = 0;
    like.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpynW(like.lfFaceName, L"Courier New", LF_FACESIZE);
    HFONT font = CreateFontIndirectW(&like);
    if (font != nullptr && !IsFixedPitch(font)) {
        DeleteObject(font);
        font = nullptr;
    }
    return font;
}

std::uint64_t FontKey(const LOGFONTW& font) {
    return (std::uint64_t{static_cast<std::uint32_t>(font.lfHeight)} << 32) |
           (std::uint64_t{static_cast<std::uint32_t>(font.lfWeight)} << 8) | font.lfCharSet;
}

}  // namespace

Win32Geometry::~Win32Geometry() {
    for (const auto& [key, font] : fixedFonts_) DeleteObject(reinterpret_cast<HFONT>(font));
}

Rect Win32Geometry::ClientRect(WindowId window) const {
    RECT r{};
    GetClientRect(ToHwnd(window), &r);
    return FromRect(r);
}

Rect Win32Geometry::WindowRect(WindowId window) const {
    RECT r{};
    if (!GetWindowRect(ToHwnd(window), &r)) return {};
    return FromRect(r);
}

void Win32Geometry::MoveWindowTo(WindowId window, Point screen) {
    SetWindowPos(ToHwnd(window), nullptr, screen.x, screen.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Geometry::PlaceWindow(WindowId window, const Rect& screen) {
    SetWindowPos(ToHwnd(window), nullptr, screen.left, screen.top, screen.Width(), screen.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

Rect Win32Geometry::WorkArea(WindowId window) const {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = MonitorFromWindow(ToHwnd(window), MONITOR_DEFAULTTONEAREST);
    if (!GetMonitorInfoW(monitor, &info)) return {};
    return FromRect(info.rcWork);
}

std::optional<Rect> Win32Geometry::ItemRect(WindowId window, int id) const {
    HWND item = Item(window, id);
    RECT r{};
    if (item == nullptr || !GetWindowRect(item, &r)) return std::nullopt;
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    ::ScreenToClient(ToHwnd(window), &corners[0]);
    ::ScreenToClient(ToHwnd(window), &corners[1]);
    return Rect{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

void Win32Geometry::MoveItem(WindowId window, int id, const Rect& rect, bool repaint) {
    // A repainted item is drawn anew at its new place rather than from the
    // bits it showed at the old one, which a grown window may no longer hold.
    const UINT redraw = repaint ? SWP_NOCOPYBITS : SWP_NOREDRAW;
    if (HWND item = Item(window, id)) {
        SetWindowPos(item, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE | redraw);
    }
}

Point Win32Geometry::ScreenToClient(WindowId window, Point screen) const {
    POINT p{screen.x, screen.y};
    ::ScreenToClient(ToHwnd(window), &p);
    return {p.x, p.y};
}

void Win32Geometry::Invalidate(WindowId window, const std::optional<Rect>& rect, bool erase) {
    const RECT r = rect ? ToRect(*rect) : RECT{};
    InvalidateRect(ToHwnd(window), rect ? &r : nullptr, erase ? TRUE : FALSE);
}

Point Win32Geometry::HorizontalScrollArrow() const {
    return {GetSystemMetrics(SM_CXHSCROLL), GetSystemMetrics(SM_CYHSCROLL)};
}

void Win32Geometry::PaintMinimizedIcon(WindowId window, IconHandle icon) {
    HWND hwnd = ToHwnd(window);
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(hwnd, &paint);
    SendMessageW(hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    GetClientRect(hwnd, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, reinterpret_cast<HICON>(icon));
    EndPaint(hwnd, &paint);
}

void Win32Geometry::PaintSizeGrip(WindowId window, const Rect& rect) {
    HWND hwnd = ToHwnd(window);
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(hwnd, &paint);
    RECT grip = ToRect(rect);
    DrawFrameControl(dc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    EndPaint(hwnd, &paint);
}

void Win32Geometry::PaintChart(WindowId window, const Chart& chart) {
    PaintChartBuffered(ToHwnd(window), chart);
}

Size Win32Geometry::MeasureText(WindowId window, std::string_view text) const {
    return MeasureChartText(ToHwnd(window), Widen(text));
}

void Win32Geometry::UseFixedPitchFont(WindowId window, int id) {
    HWND item = Item(window, id);
    if (item == nullptr) return;
    const LOGFONTW present = FontOf(item);
    auto& made = fixedFonts_[FontKey(present)];
    if (made == 0) made = reinterpret_cast<std::uintptr_t>(CreateFixedPitchFont(present));
    HFONT font = made != 0 ? reinterpret_cast<HFONT>(made)
                           : static_cast<HFONT>(GetStockObject(SYSTEM_FIXED_FONT));
    SendMessageW(item, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

}  // namespace hw::ui
