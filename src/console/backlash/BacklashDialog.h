// The backlash check's small modal dialog: starts the measuring worker,
// shows four times a second which of the 40 steps it measures, on a bar too,
// then "Completed" or "Failed" with an "OK" button, and hands the machine's operation panel
// back to the technician when it closes.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "console/backlash/BacklashRun.h"
#include "ui/Controls.h"
#include "ui/Dialog.h"
#include "ui/DialogTimer.h"
#include "ui/WorkerThread.h"

namespace hw {

namespace backlash_id {
inline constexpr int kDialog = 132;
inline constexpr int kCancel = 2;
inline constexpr int kStatus = 1055;
// Advances by one for each step measured.
inline constexpr int kBar = 1056;
}  // namespace backlash_id

inline constexpr std::uintptr_t kBacklashTimerEvent = 1;
inline constexpr std::uint32_t kBacklashTimerMs = 250;

class BacklashDialog : public ui::Dialog {
  public:
    // run: shared with the worker, which may outlive the dialog after Cancel.
    BacklashDialog(ui::Application& app, std::shared_ptr<BacklashRun> run);
    ~BacklashDialog() override;

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    // IDOK (no control has it) does nothing.
    void OnOK() override;
    // Takes the Enter key, which Windows would turn into a click on the
    // focused button: only a click or Esc ends the dialog.
    bool PreTranslateMessage(const ui::Message& message) override;
    // Cancel, "OK", Escape and the close box: asks the worker to stop at its
    // next wait and waits for its end, the window served meanwhile; then
    // gives the panel its operation back and ends the dialog. So no run
    // outlives its dialog and nothing else drives the link beside it.
    void OnCancel() override;
    std::span<const ui::MessageMapEntry> GetMessageMap() const override;

  private:
    void OnTimer(std::uintptr_t event);
    // "Checking... step k of 40" and the bar at the steps done, as the
    // worker last published them.
    void ShowStep();
    // Serves the window's messages until the worker has ended; the console
    // stays disabled under the dialog meanwhile.
    void WaitForWorker();

    static const ui::MessageMapEntry messageMap[];

    std::shared_ptr<BacklashRun> run;
    ui::WorkerThread worker;
    ui::ProgressControl bar;
    // Shows the step while the worker runs.
    ui::DialogTimer timer{*this};
    // OnCancel is waiting for the worker: a second Cancel does nothing.
    bool cancelling = false;
};

}  // namespace hw
