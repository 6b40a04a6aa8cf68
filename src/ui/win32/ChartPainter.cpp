#include "ui/win32/ChartPainter.h"

#include <algorithm>
#include <memory>
#include <type_traits>
#include <vector>

#include "platform/win32/Win32Utf8.h"

namespace hw::ui {

namespace {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using GdiObject = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, GdiObjectDeleter>;

struct MemoryDcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDcDeleter>;

// BeginPaint and EndPaint of one WM_PAINT.
class PaintScope {
  public:
    explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects an object into a context for its own lifetime.
class Selection {
  public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

void DrawLine(HDC dc, const ChartLine& line) {
    if (line.points.size() < 2) return;
    const GdiObject pen(CreatePen(PS_SOLID, line.width, line.colour));
    const Selection selected(dc, pen.get());
    std::vector<POINT> points;
    points.reserve(line.points.size());
    for (const Point& p : line.points) points.push_back({p.x, p.y});
    Polyline(dc, points.data(), static_cast<int>(points.size()));
}

void DrawMarker(HDC dc, const ChartMarker& marker) {
    const RECT box{marker.centre.x - marker.radius, marker.centre.y - marker.radius,
                   marker.centre.x + marker.radius + 1, marker.centre.y + marker.radius + 1};
    const GdiObject brush(CreateSolidBrush(marker.colour));
    if (marker.filled) {
        FillRect(dc, &box, static_cast<HBRUSH>(brush.get()));
    } else {
        FrameRect(dc, &box, static_cast<HBRUSH>(brush.get()));
    }
}

UINT AlignFlags(TextAlign align) {
    switch (align) {
        case TextAlign::Centre:
            return TA_CENTER | TA_TOP;
        case TextAlign::Right:
            return TA_RIGHT | TA_TOP;
        case TextAlign::Left:
            break;
    }
    return TA_LEFT | TA_TOP;
}

void DrawText(HDC dc, const ChartText& text) {
    SetTextColor(dc, text.colour);
    SetTextAlign(dc, AlignFlags(text.align));
    const std::wstring wide = Widen(text.text);
    TextOutW(dc, text.anchor.x, text.anchor.y, wide.data(), static_cast<int>(wide.size()));
}

// The window's device context for the object's lifetime.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC dc() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

HFONT WindowFont(HWND window) {
    return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

}  // namespace

void DrawChart(HDC dc, const RECT& client, HFONT font, const Chart& chart) {
    const GdiObject background(CreateSolidBrush(chart.background));
    FillRect(dc, &client, static_cast<HBRUSH>(background.get()));
    for (const ChartLine& line : chart.lines) DrawLine(dc, line);
    for (const ChartMarker& marker : chart.markers) DrawMarker(dc, marker);
    const Selection selected(dc, font != nullptr ? font : GetCurrentObject(dc, OBJ_FONT));
    SetBkMode(dc, TRANSPARENT);
    for (const ChartText& text : chart.texts) DrawText(dc, text);
}

void PaintChartBuffered(HWND window, const Chart& chart) {
    const PaintScope paint(window);
    RECT client{};
    GetClientRect(window, &client);
    const MemoryDc memory(CreateCompatibleDC(paint.dc()));
    const GdiObject bitmap(CreateCompatibleBitmap(paint.dc(), std::max<LONG>(client.right, 1),
                                                  std::max<LONG>(client.bottom, 1)));
    if (memory == nullptr || bitmap == nullptr) return;
    const Selection selected(memory.get(), bitmap.get());
    DrawChart(memory.get(), client, WindowFont(window), chart);
    BitBlt(paint.dc(), 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}

Size MeasureChartText(HWND window, const std::wstring& text) {
    const WindowDc screen(window);
    if (screen.dc() == nullptr) return {};
    const HFONT font = WindowFont(window);
    const Selection selected(screen.dc(),
                             font != nullptr ? font : GetCurrentObject(screen.dc(), OBJ_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.dc(), &metrics);
    SIZE extent{};
    if (!text.empty()) {
        GetTextExtentPoint32W(screen.dc(), text.data(), static_cast<int>(text.size()), &extent);
    }
    return {extent.cx, std::max<int>(extent.cy, metrics.tmHeight)};
}

}  // namespace hw::ui
