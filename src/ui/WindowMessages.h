// The window system's messages, timers and threads: sending and posting a
// message to a dialog window, its timers, serving the thread's message queue
// while a procedure runs, and worker threads.
//
// A call on a window that does not exist does nothing and returns the
// "nothing" value of its result (false, 0).
#pragma once

#include <cstdint>
#include <functional>

#include "ui/Types.h"
#include "ui/WorkerThread.h"

namespace hw::ui {

class WindowMessages {
  public:
    virtual ~WindowMessages() = default;

    // Sends a message to the window's dialog now; its result (0 when the
    // dialog left it to default processing or there is no window).
    virtual std::intptr_t Send(WindowId window, const Message& message) = 0;
    // Queues a message for the window; false when there is no window.
    virtual bool Post(WindowId window, const Message& message) = 0;
    // SetTimer(window, id, ms) without a timer procedure: WM_TIMER with
    // wParam id reaches the window every ms milliseconds. Setting an id
    // again restarts it with the new period. Returns id, 0 on failure.
    virtual std::uintptr_t SetTimer(WindowId window, std::uintptr_t id, std::uint32_t ms) = 0;
    // KillTimer: false when no such timer runs.
    virtual bool KillTimer(WindowId window, std::uintptr_t id) = 0;
    // Empties the thread's message queue: every waiting message goes
    // through the dialog's keyboard handling (IsDialogMessage) or else is
    // translated and dispatched. Returns when the queue is empty.
    virtual void PumpMessages(WindowId dialog) = 0;
    // Starts body on a worker thread (normal priority, default stack).
    virtual WorkerThread StartThread(std::function<void()> body) = 0;
};

}  // namespace hw::ui
