#include "console/windows/PanelCheckDialog.h"

#include <array>

#include "console/checks/BitLabels.h"
#include "ui/Application.h"

namespace hw {

constinit const ui::MessageMapEntry PanelCheckDialog::messageMap[] = {
    ui::OnTimer<&PanelCheckDialog::OnTimer>(),
};

std::span<const ui::MessageMapEntry> PanelCheckDialog::GetMessageMap() const {
    return messageMap;
}

PanelCheckDialog::PanelCheckDialog(ui::Application& app, MachineLink& machine)
    : ui::Dialog(app, panel_id::kDialog), link(machine) {}

PanelCheckDialog::~PanelCheckDialog() = default;

bool PanelCheckDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    // The keys now only report; they no longer move the machine. The result
    // does not matter: the check opens either way.
    link.SetPanelOperation(0);
    // Exit waits for the first key read, so that a check on a machine that
    // does not answer cannot be left as if it had ended in order.
    EnableItem(panel_id::kExit, false);
    timer.Start(kPanelTimerEvent, kPanelTimerMs);
    return true;
}

void PanelCheckDialog::OnOK() {}

bool PanelCheckDialog::PreTranslateMessage(const ui::Message& message) {
    return ui::IsKeyDown(message, ui::kVkReturn);
}

void PanelCheckDialog::OnCancel() {
    const char clearText = 0x7F;
    link.ShowPanelText(&clearText, 1, 0);
    timer.Stop();
    link.SetPanelOperation(1);
    ui::Dialog::OnCancel();
}

void PanelCheckDialog::OnTimer(std::uintptr_t) {
    ShowKeys();
    ShowDial();
    Default();
}

void PanelCheckDialog::ShowKeys() {
    std::array<std::uint8_t, kPanelReplyBytes> keys{};
    if (link.GetPanelKeys(keys.data(), kPanelReplyBytes) != kPanelReplyBytes) {
        ReportLostKeys();
        return;
    }
    EnableItem(panel_id::kExit, true);
    FocusItem(panel_id::kExit);
    ShowBitLabels(*this, kPanelLabels, keys);
}

// One box per failed read: the timer stands still while the box is up, so
// that boxes do not pile up, and runs again once it is dismissed.
void PanelCheckDialog::ReportLostKeys() {
    EnableItem(panel_id::kExit, false);
    timer.Stop();
    ShowMessageBox(app().shell().LoadStringResource(panel_id::kDisconnectedText), {}, ui::kMbOk);
    timer.Start(kPanelTimerEvent, kPanelTimerMs);
}

void PanelCheckDialog::ShowDial() {
    std::int32_t counter = 0;
    if (link.GetDialCounter(&counter, 1) == 1) SetItemText(panel_id::kDial, DialText(counter));
}

}  // namespace hw
