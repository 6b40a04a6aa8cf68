#include "console/SensorTimer.h"

namespace hw {

void SensorTimer::Start() {
    timer.Start(kSensorTimerEvent, kSensorTimerMs);
}

void SensorTimer::Kill() {
    timer.Stop();
}

void SensorTimer::Pause() {
    paused = true;
    Kill();
}

void SensorTimer::Resume() {
    paused = false;
    if (session.Connected() && !timer.IsRunning()) Start();
}

void SensorTimer::MarkNotAnswering() {
    notAnswering = true;
    Kill();
}

bool SensorTimer::ResumeAnswering() {
    if (!notAnswering) return false;
    notAnswering = false;
    if (session.Connected() && !paused && !timer.IsRunning()) Start();
    return true;
}

}  // namespace hw
