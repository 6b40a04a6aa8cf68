// What a window shows on the screen, read back from its window DC, for the
// Wine tests that check drawing.
#pragma once

#include <windows.h>

#include <chrono>
#include <thread>
#include <vector>

#include "ui/WindowSystem.h"

namespace hw::test {

// The pixels of rect (client coordinates of window), row by row, as
// 0x00RRGGBB.
inline std::vector<DWORD> CaptureClient(HWND window, const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, dc, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<const DWORD*>(bits),
                              static_cast<const DWORD*>(bits) + width * height);
    for (DWORD& pixel : pixels) pixel &= 0xFFFFFF;
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, dc);
    return pixels;
}

// Lets the windows of the thread paint what is left to paint.
inline void Settle(ui::WindowSystem& windows, HWND window) {
    for (int i = 0; i < 20; ++i) {
        windows.messages.PumpMessages(reinterpret_cast<ui::WindowId>(window));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace hw::test
