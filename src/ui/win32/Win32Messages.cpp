#include "ui/win32/Win32Messages.h"

#include "ui/win32/Win32Handles.h"

#include <thread>

namespace hw::ui {

std::intptr_t Win32Messages::Send(WindowId window, const Message& message) {
    return SendMessageW(ToHwnd(window), message.message, message.wParam, message.lParam);
}

bool Win32Messages::Post(WindowId window, const Message& message) {
    return PostMessageW(ToHwnd(window), message.message, message.wParam, message.lParam) != FALSE;
}

std::uintptr_t Win32Messages::SetTimer(WindowId window, std::uintptr_t id, std::uint32_t ms) {
    return ::SetTimer(ToHwnd(window), id, ms, nullptr);
}

bool Win32Messages::KillTimer(WindowId window, std::uintptr_t id) {
    return ::KillTimer(ToHwnd(window), id) != FALSE;
}

void Win32Messages::PumpMessages(WindowId dialog) {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Left for the main loop, which ends the program on it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (!IsDialogMessageW(ToHwnd(dialog), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

WorkerThread Win32Messages::StartThread(std::function<void()> body) {
    return WorkerThread(std::thread(std::move(body)));
}

}  // namespace hw::ui
