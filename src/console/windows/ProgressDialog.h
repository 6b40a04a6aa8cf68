// The small modeless progress window of the procedures the machine runs by
// itself: a status text and a Stop button, shown over the console, which it
// keeps disabled while it is up. The procedure polls it with CheckCancel,
// which also keeps the program's windows served.
#pragma once

#include <memory>
#include <string_view>

#include "ui/Controls.h"
#include "ui/Dialog.h"

namespace hw {

namespace progress_id {
inline constexpr int kDialog = 136;
// The Stop button (IDCANCEL: Esc triggers it too).
inline constexpr int kStop = 2;
inline constexpr int kStatusText = 1039;
// A bar and a percentage label that stay hidden: nothing measures how far a
// procedure has come.
inline constexpr int kBar = 1040;
inline constexpr int kPercent = 1041;
}  // namespace progress_id

class ProgressDialog : public ui::Dialog {
  public:
    explicit ProgressDialog(ui::Application& app);
    // Destroys the window when it is still up, the owner enabled again.
    ~ProgressDialog() override;

    // Disables owner (when it is enabled) and opens the window over it with
    // caption (an empty one keeps the template's). False when the window
    // could not be created; the owner is then enabled again if this call
    // disabled it.
    bool Create(ui::Dialog& owner, std::string_view caption);
    void SetStatusText(std::string_view text);
    // Serves every message waiting for the thread (Stop and Esc among them),
    // then tells whether Stop was asked for since the last call.
    bool CheckCancel();
    // Enables the owner again if Create disabled it, then destroys the window.
    bool DestroyWindow() override;
    // Takes the Enter key: the default Stop button, which has the focus,
    // would otherwise turn it into a Stop, and a technician confirming
    // something out of habit would end the procedure unseen.
    bool PreTranslateMessage(const ui::Message& message) override;

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    // IDOK (no control has it) does not close the window.
    void OnOK() override;
    // Stop and Esc only ask the procedure to stop; the window stays up until
    // the procedure has ended.
    void OnCancel() override;

  private:
    ui::ProgressControl bar;
    ui::WindowId owner = ui::kNoWindow;
    bool ownerDisabled = false;
    bool cancelRequested = false;
};

// The progress window opened over owner with caption; null without an owner
// (no window: the command line) or when it could not be created.
std::unique_ptr<ProgressDialog> ShowProgress(ui::Dialog* owner, std::string_view caption);

}  // namespace hw
