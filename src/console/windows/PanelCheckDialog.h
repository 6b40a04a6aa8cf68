// The panel check: a modal dialog that shows the machine's operation-panel
// keys and its dial live, five times a second, while the panel's own
// operation is switched off.
#pragma once

#include <cstdint>
#include <span>

#include "commands/MachineLink.h"
#include "ui/Dialog.h"
#include "ui/DialogTimer.h"

namespace hw {

namespace panel_id {
inline constexpr int kDialog = 137;
inline constexpr int kExit = 2;
inline constexpr int kDial = 1087;
// String: the key read failed, so the check cannot end in order.
inline constexpr int kDisconnectedText = 124;
}  // namespace panel_id

inline constexpr std::uintptr_t kPanelTimerEvent = 1;
inline constexpr std::uint32_t kPanelTimerMs = 200;

class PanelCheckDialog : public ui::Dialog {
  public:
    // link: the console's link, borrowed while the dialog runs.
    PanelCheckDialog(ui::Application& app, MachineLink& link);
    ~PanelCheckDialog() override;

  protected:
    bool OnInitDialog() override;
    // IDOK (no control has it) does nothing.
    void OnOK() override;
    // Takes the Enter key, which Windows would turn into a click on the
    // focused button: only a click or Esc ends the dialog.
    bool PreTranslateMessage(const ui::Message& message) override;
    // Exit, Escape and the close box: the panel back to its own operation.
    void OnCancel() override;
    std::span<const ui::MessageMapEntry> GetMessageMap() const override;

  private:
    void OnTimer(std::uintptr_t event);
    void ShowKeys();
    void ReportLostKeys();
    void ShowDial();

    static const ui::MessageMapEntry messageMap[];

    MachineLink& link;
    // Reads the keys and the dial while the check runs.
    ui::DialogTimer timer{*this};
};

}  // namespace hw
