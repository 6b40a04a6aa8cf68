// The headless window system's messages, timers and threads: messages sent at once and posted to a
// queue that a pump delivers, timers on the test's clock, threads real or run inline.
#pragma once

#include "ui/WindowMessages.h"
#include "ui/headless/HeadlessDesktop.h"

namespace hw::ui {

class HeadlessMessages final : public WindowMessages {
  public:
    explicit HeadlessMessages(HeadlessDesktop& desktop) : desktop_(desktop) {}

    std::intptr_t Send(WindowId window, const Message& message) override;
    bool Post(WindowId window, const Message& message) override;
    std::uintptr_t SetTimer(WindowId window, std::uintptr_t id, std::uint32_t ms) override;
    bool KillTimer(WindowId window, std::uintptr_t id) override;
    void PumpMessages(WindowId dialog) override;
    WorkerThread StartThread(std::function<void()> body) override;

  private:
    HeadlessDesktop& desktop_;
};

}  // namespace hw::ui
