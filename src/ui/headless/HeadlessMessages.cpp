#include "ui/headless/HeadlessMessages.h"

#include <algorithm>

namespace hw::ui {

std::intptr_t HeadlessMessages::Send(WindowId window, const Message& message) {
    return desktop_.Dispatch(window, message).value_or(0);
}

bool HeadlessMessages::Post(WindowId window, const Message& message) {
    if (desktop_.Find(window) == nullptr) return false;
    desktop_.posted.emplace_back(window, message);
    return true;
}

std::uintptr_t HeadlessMessages::SetTimer(WindowId window, std::uintptr_t id, std::uint32_t ms) {
    HeadlessDesktop::WindowState* state = desktop_.Find(window);
    if (state == nullptr || desktop_.failTimers || id == 0) return 0;
    const auto running =
        std::find_if(state->timers.begin(), state->timers.end(),
                     [id](const HeadlessDesktop::TimerState& t) { return t.id == id; });
    if (running != state->timers.end()) {
        running->ms = ms;
    } else {
        state->timers.push_back({id, ms});
    }
    state->timerDue[id] = desktop_.clock ? desktop_.clock() + ms : 0;
    return id;
}

bool HeadlessMessages::KillTimer(WindowId window, std::uintptr_t id) {
    HeadlessDesktop::WindowState* state = desktop_.Find(window);
    if (state == nullptr) return false;
    ++state->killTimerCalls;
    state->timerDue.erase(id);
    return std::erase_if(state->timers,
                         [id](const HeadlessDesktop::TimerState& t) { return t.id == id; }) > 0;
}

void HeadlessMessages::PumpMessages(WindowId) {
    desktop_.DeliverPosted();
    desktop_.DeliverDueTimers();
    if (desktop_.pumpHook) {
        const std::function<void()> hook = desktop_.pumpHook;
        hook();
    }
}

WorkerThread HeadlessMessages::StartThread(std::function<void()> body) {
    if (desktop_.inlineThreads) {
        body();
        return {};
    }
    return WorkerThread(std::thread(std::move(body)));
}

}  // namespace hw::ui
