// The Win32 window system's messages, timers, the thread's message queue and worker threads.
#pragma once

#include "ui/WindowMessages.h"

namespace hw::ui {

class Win32Messages final : public WindowMessages {
  public:
    std::intptr_t Send(WindowId window, const Message& message) override;
    bool Post(WindowId window, const Message& message) override;
    std::uintptr_t SetTimer(WindowId window, std::uintptr_t id, std::uint32_t ms) override;
    bool KillTimer(WindowId window, std::uintptr_t id) override;
    void PumpMessages(WindowId dialog) override;
    WorkerThread StartThread(std::function<void()> body) override;
};

}  // namespace hw::ui
