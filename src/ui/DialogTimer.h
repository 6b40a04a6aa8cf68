// A timer of a dialog's window owned by an object: Start sets it, Stop and
// the object's end kill it, so that no timer outlives the one who runs it
// and no caller keeps the event id apart from whether it runs.
#pragma once

#include <cstdint>

namespace hw::ui {

class Dialog;

class DialogTimer {
  public:
    explicit DialogTimer(Dialog& dialog) : dialog_(dialog) {}
    ~DialogTimer() { Stop(); }
    DialogTimer(const DialogTimer&) = delete;
    DialogTimer& operator=(const DialogTimer&) = delete;

    // Sets the timer: WM_TIMER with event reaches the dialog every ms
    // milliseconds; a running one is killed first. False (and not running)
    // when the window system refused it.
    bool Start(std::uintptr_t event, std::uint32_t ms);
    // Kills the timer; nothing when it does not run.
    void Stop();
    bool IsRunning() const { return running_; }
    // The event is this timer's, and it runs.
    bool Fired(std::uintptr_t event) const { return running_ && event == event_; }

  private:
    Dialog& dialog_;
    std::uintptr_t event_ = 0;
    bool running_ = false;
};

}  // namespace hw::ui
