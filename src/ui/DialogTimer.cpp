#include "ui/DialogTimer.h"

#include "ui/Dialog.h"

namespace hw::ui {

bool DialogTimer::Start(std::uintptr_t event, std::uint32_t ms) {
    Stop();
    event_ = event;
    running_ = dialog_.SetTimer(event, ms) != 0;
    return running_;
}

void DialogTimer::Stop() {
    if (!running_) return;
    running_ = false;
    dialog_.KillTimer(event_);
}

}  // namespace hw::ui
