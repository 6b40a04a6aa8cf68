// Draws a chart with plain GDI into a device context.
#pragma once

#include <windows.h>

#include <string>

#include "ui/Chart.h"

namespace hw::ui {

// Fills client with the chart's background and draws its lines, markers and
// texts, the texts in font (nullptr: the context's own).
void DrawChart(HDC dc, const RECT& client, HFONT font, const Chart& chart);

// Inside WM_PAINT: composes the chart in a bitmap of the client's size,
// which also keeps every stroke inside the client area, then copies it to
// the window in one piece, so that nothing flickers. The texts are in the
// window's font.
void PaintChartBuffered(HWND window, const Chart& chart);

// The extent of text as one line in the window's font (see
// WindowSystem::MeasureText).
Size MeasureChartText(HWND window, const std::wstring& text);

}  // namespace hw::ui
