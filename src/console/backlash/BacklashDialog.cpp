#include "console/backlash/BacklashDialog.h"

#include <chrono>
#include <string>
#include <thread>
#include <utility>

#include "console/Messages.h"
#include "ui/Application.h"
#include "ui/DataExchange.h"

namespace hw {

namespace {

// Between two rounds of the window's messages while the worker finishes:
// short enough that the window answers at once.
constexpr std::chrono::milliseconds kWorkerWaitPause{10};

}  // namespace

constinit const ui::MessageMapEntry BacklashDialog::messageMap[] = {
    ui::OnTimer<&BacklashDialog::OnTimer>(),
};

std::span<const ui::MessageMapEntry> BacklashDialog::GetMessageMap() const {
    return messageMap;
}

BacklashDialog::BacklashDialog(ui::Application& app, std::shared_ptr<BacklashRun> shared)
    : ui::Dialog(app, backlash_id::kDialog), run(std::move(shared)) {}

BacklashDialog::~BacklashDialog() = default;

bool BacklashDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    bar.SetRange(0, kBacklashSteps);
    bar.SetPos(0);
    run->step = 0;
    run->result.valid = false;
    run->result.angle = 0;
    run->result.backlash = 0;
    run->cancelRequested = false;
    run->workerRunning = true;
    worker = app().messages().StartThread([shared = run] { RunBacklashWorker(*shared); });
    timer.Start(kBacklashTimerEvent, kBacklashTimerMs);
    return true;
}

void BacklashDialog::DoDataExchange(ui::DataExchange& dx) {
    dx.Control(backlash_id::kBar, bar);
}

void BacklashDialog::OnOK() {}

bool BacklashDialog::PreTranslateMessage(const ui::Message& message) {
    return ui::IsKeyDown(message, ui::kVkReturn);
}

void BacklashDialog::OnCancel() {
    if (cancelling) return;
    cancelling = true;
    timer.Stop();
    run->cancelRequested = true;
    WaitForWorker();
    run->link.SetPanelOperation(1);
    ui::Dialog::OnCancel();
}

void BacklashDialog::WaitForWorker() {
    while (run->workerRunning) {
        app().messages().PumpMessages(window());
        std::this_thread::sleep_for(kWorkerWaitPause);
    }
    worker.Join();
}

void BacklashDialog::OnTimer(std::uintptr_t event) {
    if (!timer.Fired(event)) {
        Default();
        return;
    }
    if (run->workerRunning) {
        ShowStep();
        return;
    }
    if (run->result.valid) bar.SetPos(kBacklashSteps);
    SetItemText(backlash_id::kStatus, run->result.valid ? kTextCompleted : kTextFailed);
    SetItemText(backlash_id::kCancel, "OK");
    timer.Stop();
    run->link.SetPanelOperation(0);
}

void BacklashDialog::ShowStep() {
    const int step = run->step.load();
    if (step == 0) {
        // Still on the way to the origin or the parking position.
        SetItemText(backlash_id::kStatus, "Checking...");
        return;
    }
    SetItemText(backlash_id::kStatus, "Checking... step " + std::to_string(step) + " of " +
                                          std::to_string(kBacklashSteps));
    bar.SetPos(step - 1);
}

}  // namespace hw
