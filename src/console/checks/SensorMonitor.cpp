// The live sensor labels and the panel check.
#include <array>

#include "console/ConsoleDialog.h"
#include "console/checks/BitLabels.h"
#include "console/windows/PanelCheckDialog.h"

namespace hw {

void ConsoleDialog::EnableSensorLabels(bool enable) {
    for (const BitLabel& label : kSensorLabels) EnableItem(label.id, enable);
}

// The sensor tick, from the 500 ms timer or any other WM_TIMER: a short or
// failed read leaves the labels as they were, and the next tick tries again;
// a read that timed out stops the ticks instead.
std::intptr_t ConsoleDialog::OnTimer(const ui::Message& message) {
    if (!session.Connected()) return 0;
    std::array<std::uint8_t, kSensorReplyBytes> sensors{};
    if (session.Link().GetSensorBytes(sensors.data(), kSensorReplyBytes) == kSensorReplyBytes) {
        ShowBitLabels(*this, kSensorLabels, sensors);
    } else if (session.Link().LastTransactionTimedOut()) {
        MarkNotAnswering();
    }
    return Default(message);
}

void ConsoleDialog::OnCheckPanel() {
    if (!session.RequireOnline(reporter)) return;
    Pause();
    {
        PanelCheckDialog check(services.app, session.Link());
        check.DoModal();
    }
    // Back to the panel's normal display; the result does not matter.
    session.Link().SetPanelMode(0);
    Resume();
}

}  // namespace hw
