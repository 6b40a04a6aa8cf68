#include "console/checks/MachineReadouts.h"

#include <array>

#include "console/ConsoleIds.h"
#include "console/checks/BitLabels.h"
#include "console/checks/SpindleReadout.h"
#include "console/windows/PanelCheckDialog.h"
#include "ui/Dialog.h"

namespace hw {

namespace {

// The spindle labels before a reading.
constexpr std::string_view kNoCurrent = "--A";
constexpr std::string_view kNoTemperature = "--C --F";

}  // namespace

void MachineReadouts::EnableSensorLabels(bool enable) {
    if (context.window == nullptr) return;
    for (const BitLabel& label : kSensorLabels) context.window->EnableItem(label.id, enable);
}

void MachineReadouts::Forget() {
    if (context.window == nullptr) return;
    for (const BitLabel& label : kSensorLabels) {
        context.window->SetItemText(label.id, label.set.substr(0, label.set.find('=') + 1));
    }
    context.window->SetItemText(console_id::kSpindleCurrent, kNoCurrent);
    context.window->SetItemText(console_id::kSpindleTemperature, kNoTemperature);
}

bool MachineReadouts::ShowSensors() {
    std::array<std::uint8_t, kSensorReplyBytes> sensors{};
    if (context.link().GetSensorBytes(sensors.data(), kSensorReplyBytes) == kSensorReplyBytes) {
        if (context.window != nullptr) ShowBitLabels(*context.window, kSensorLabels, sensors);
        return true;
    }
    return !context.link().LastTransactionTimedOut();
}

void MachineReadouts::ReadSpindle() {
    if (!context.session.RequireOnline(context.reporter)) return;
    const auto texts = ReadSpindleTexts(context.link());
    if (!texts || context.window == nullptr) return;
    context.window->SetItemText(console_id::kSpindleTemperature, texts->temperature);
    context.window->SetItemText(console_id::kSpindleCurrent, texts->current);
}

void MachineReadouts::CheckPanel() {
    if (context.window == nullptr || !context.session.RequireOnline(context.reporter)) return;
    PollingPause paused(context.polling);
    {
        PanelCheckDialog check(context.App(), context.link());
        check.DoModal();
    }
    // Back to the panel's normal display; the result does not matter.
    context.link().SetPanelMode(0);
}

}  // namespace hw
