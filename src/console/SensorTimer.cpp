#include "console/SensorTimer.h"

#include "ui/Dialog.h"

namespace hw {

void SensorTimer::Start() {
    id = static_cast<std::intptr_t>(console.SetTimer(kSensorTimerEvent, kSensorTimerMs));
}

void SensorTimer::Kill() {
    if (id <= 0) return;
    console.KillTimer(static_cast<std::uintptr_t>(id));
    id = -1;
}

void SensorTimer::Pause() {
    paused = true;
    Kill();
}

void SensorTimer::Resume() {
    paused = false;
    if (session.Connected() && id <= 0) Start();
}

void SensorTimer::MarkNotAnswering() {
    notAnswering = true;
    Kill();
}

bool SensorTimer::ResumeAnswering() {
    if (!notAnswering) return false;
    notAnswering = false;
    if (session.Connected() && !paused && id <= 0) Start();
    return true;
}

}  // namespace hw
