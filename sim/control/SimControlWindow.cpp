#include "sim/control/SimControlWindow.h"

#include <array>
#include <cstddef>
#include <cstdlib>
#include <optional>
#include <string>

#include "sim/control/SimControlPlacement.h"
#include "ui/Application.h"

namespace hw {

namespace {

using SensorBytes = std::array<std::uint8_t, kSimSensorBytes>;

// A bit of the machine's sensor bytes.
struct SensorBit {
    std::size_t byte;
    std::uint8_t mask;
};

bool IsSet(const SensorBytes& bytes, SensorBit bit) {
    return (bytes[bit.byte] & bit.mask) != 0;
}

// One limit switch's three-state box: its name, its axis and the bit that
// reports it.
struct LimitSwitch {
    int id;
    const char* name;
    int axis;
    SensorBit bit;
};

const std::array<LimitSwitch, sim_control_id::kLastLimit - sim_control_id::kFirstLimit + 1>
    kLimits = {{
        {901, "Limit X", kSimAxisX, {0, 0x08}},
        {902, "Limit Y", kSimAxisY, {0, 0x10}},
        {903, "Limit Z", kSimAxisZ, {0, 0x20}},
        {904, "Limit A (home)", kSimAxisA, {2, 0x10}},
    }};

// One other sensor's check box: the bit it shows and what a person does at
// the machine to change it.
struct SensorSwitch {
    int id;
    SensorBit bit;
    bool activeLow;  // the box is checked while the bit is clear
    void (*set)(SimMachine& machine, bool checked);
};

const std::array<SensorSwitch, sim_control_id::kLastSwitch - sim_control_id::kFirstSwitch + 1>
    kSwitches = {{
        {905, {5, 0x40}, false, [](SimMachine& m, bool on) { m.SetCoverOpen(on); }},
        {906, {5, 0x01}, false, [](SimMachine& m, bool on) { m.SetNoseTouching(on); }},
        {907, {4, 0x02}, true, [](SimMachine& m, bool on) { m.SetPumpSwitch(on); }},
    }};

// The machine's key word bit of each key box, from sim_control_id::kFirstKey on: +X, -X,
// +Y, -Y, +Z, -Z, Rapid, XY, Z, MENU, ENTER, SP, COPY.
constexpr std::array<std::uint16_t, sim_control_id::kLastKey - sim_control_id::kFirstKey + 1>
    kKeyBits = {0x0008, 0x0400, 0x1000, 0x0002, 0x0800, 0x0001, 0x0200,
                0x0080, 0x2000, 0x0040, 0x0020, 0x0010, 0x0004};

bool IsOn(const SensorBytes& bytes, const SensorSwitch& sensor) {
    return IsSet(bytes, sensor.bit) != sensor.activeLow;
}

// A limit box's state for a hold, and back.
ui::CheckState BoxFor(std::optional<bool> hold) {
    if (!hold) return ui::CheckState::Indeterminate;
    return *hold ? ui::CheckState::Checked : ui::CheckState::Unchecked;
}

std::optional<bool> HoldFor(ui::CheckState box) {
    if (box == ui::CheckState::Indeterminate) return std::nullopt;
    return box == ui::CheckState::Checked;
}

// A check box that arms a fault the machine takes once.
struct FaultBox {
    int id;
    bool SimFaults::*fault;
};

constexpr std::array<FaultBox, 3> kFaultBoxes{{
    {sim_control_id::kCorruptNextPut, &SimFaults::corruptNextPut},
    {sim_control_id::kLoseBlockAtUpdate, &SimFaults::loseBlockAtUpdate},
    {sim_control_id::kStaysAwayAfterUpdate, &SimFaults::staysAwayAfterUpdate},
}};

// What the window shows, read from the machine and its controller at once.
struct MachineView {
    SensorBytes bytes;
    std::array<std::optional<bool>, kLimits.size()> holds;
    bool updateMode;
    bool failArmed;
    std::optional<SimCommandNumber> failed;
    SimPosition position;
    SimReceipt receipt;
    bool axesStiff;
    SimFaults faults;
};

std::string FailedCommandText(const MachineView& view) {
    if (view.failArmed) return "Next command fails";
    if (!view.failed) return {};
    return "Failed: command " + std::to_string(view.failed->number) +
           (view.failed->extended ? " (extended)" : "");
}

// Hundredths of a millimetre as millimetres with two decimals, e.g. "-0.30".
std::string Millimetres(std::int32_t counts) {
    const std::int64_t magnitude = std::abs(std::int64_t{counts});
    const std::int64_t hundredths = magnitude % 100;
    std::string text = counts < 0 ? "-" : "";
    text += std::to_string(magnitude / 100);
    text += hundredths < 10 ? ".0" : ".";
    text += std::to_string(hundredths);
    return text;
}

std::string PositionText(const SimPosition& at) {
    return "X " + Millimetres(at[kSimAxisX]) + "  Y " + Millimetres(at[kSimAxisY]) + "  Z " +
           Millimetres(at[kSimAxisZ]) + " mm";
}

std::string ReceiptText(const SimReceipt& receipt) {
    const std::string bytes = std::to_string(receipt.bytes) + " bytes";
    switch (receipt.kind) {
        case SimReceipt::Kind::Firmware:
            return "Received firmware, " + bytes + ", restarted";
        case SimReceipt::Kind::File:
            return "Received a file, " + bytes;
        case SimReceipt::Kind::Refused:
            return "Refused a file of " + bytes + ": not ready";
        case SimReceipt::Kind::None:
            break;
    }
    return {};
}

}  // namespace

constinit const ui::MessageMapEntry SimControlWindow::messageMap[] = {
    ui::OnTimer<&SimControlWindow::OnTimer>(),
    ui::OnCommandRange<&SimControlWindow::OnLimit>(sim_control_id::kFirstLimit,
                                                   sim_control_id::kLastLimit),
    ui::OnCommandRange<&SimControlWindow::OnSwitch>(sim_control_id::kFirstSwitch,
                                                    sim_control_id::kLastSwitch),
    ui::OnCommandRange<&SimControlWindow::OnKey>(sim_control_id::kFirstKey,
                                                 sim_control_id::kLastKey),
    ui::OnCommand<&SimControlWindow::OnDialMinus>(sim_control_id::kDialMinus),
    ui::OnCommand<&SimControlWindow::OnDialPlus>(sim_control_id::kDialPlus),
    ui::OnCommand<&SimControlWindow::OnUnplug>(sim_control_id::kUnplug),
    ui::OnCommand<&SimControlWindow::OnPlugIn>(sim_control_id::kPlugIn),
    ui::OnCommand<&SimControlWindow::OnUpdateMode>(sim_control_id::kUpdateMode),
    ui::OnCommand<&SimControlWindow::OnFailNextCommand>(sim_control_id::kFailNextCommand),
    ui::OnCommand<&SimControlWindow::OnStiffAxes>(sim_control_id::kStiffAxes),
    ui::OnCommandRange<&SimControlWindow::OnFaultBox>(sim_control_id::kCorruptNextPut,
                                                      sim_control_id::kStaysAwayAfterUpdate),
};

std::span<const ui::MessageMapEntry> SimControlWindow::GetMessageMap() const {
    return messageMap;
}

SimControlWindow::SimControlWindow(ui::Application& app, SimEnvironment& environment)
    : ui::Dialog(app, sim_control_id::kDialog), sim(environment) {}

SimControlWindow::~SimControlWindow() = default;

bool SimControlWindow::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    caption = Title();
    ShowActingMachine();
    ShowMachine();
    PlaceBesideConsole();
    SetTimer(kSimControlTimerEvent, kSimControlTimerMs);
    return true;
}

void SimControlWindow::OnOK() {}

void SimControlWindow::OnCancel() {
    DestroyWindow();
}

void SimControlWindow::OnTimer(std::uintptr_t) {
    ShowActingMachine();
    ShowMachine();
    PlaceBesideConsole();
}

void SimControlWindow::ShowActingMachine() {
    SetTitle(caption + " - " + sim.Acting().name);
}

// The limit whose box was clicked is the one whose box and hold now differ.
void SimControlWindow::OnLimit() {
    std::array<std::optional<bool>, kLimits.size()> holds{};
    for (std::size_t i = 0; i < kLimits.size(); ++i) {
        holds[i] = HoldFor(ItemCheckState(kLimits[i].id));
    }
    sim.WithMachine([&holds](SimMachine& machine) {
        for (std::size_t i = 0; i < kLimits.size(); ++i) {
            if (holds[i] != machine.LimitSwitchHold(kLimits[i].axis)) {
                machine.HoldLimitSwitch(kLimits[i].axis, holds[i]);
            }
        }
    });
    ShowMachine();
}

// The sensor whose box was clicked is the one whose box and machine state
// now differ.
void SimControlWindow::OnSwitch() {
    std::array<bool, kSwitches.size()> checked{};
    for (std::size_t i = 0; i < kSwitches.size(); ++i) checked[i] = IsItemChecked(kSwitches[i].id);
    sim.WithMachine([&checked](SimMachine& machine) {
        const SensorBytes bytes = machine.SensorBytes();
        for (std::size_t i = 0; i < kSwitches.size(); ++i) {
            if (checked[i] != IsOn(bytes, kSwitches[i])) kSwitches[i].set(machine, checked[i]);
        }
    });
    ShowMachine();
}

void SimControlWindow::OnKey() {
    std::uint16_t keys = 0;
    for (std::size_t i = 0; i < kKeyBits.size(); ++i) {
        if (IsItemChecked(sim_control_id::kFirstKey + static_cast<int>(i))) keys |= kKeyBits[i];
    }
    sim.WithMachine([keys](SimMachine& machine) { machine.SetKeys(keys); });
}

void SimControlWindow::OnDialMinus() {
    sim.WithMachine([](SimMachine& machine) { machine.TurnDial(-1); });
}

void SimControlWindow::OnDialPlus() {
    sim.WithMachine([](SimMachine& machine) { machine.TurnDial(1); });
}

void SimControlWindow::OnUnplug() {
    sim.Unplug();
    ShowMachine();
}

void SimControlWindow::OnPlugIn() {
    sim.PlugIn();
    ShowMachine();
}

void SimControlWindow::OnUpdateMode() {
    const bool on = IsItemChecked(sim_control_id::kUpdateMode);
    sim.WithMachine([on](SimMachine& machine) {
        if (on) {
            machine.EnterUpdateMode();
        } else {
            machine.SetUpdateMode(0);
        }
    });
}

// The console's own repeated reads (sensors, panel keys, dial) pass; the
// next command a technician starts fails.
void SimControlWindow::OnFailNextCommand() {
    sim.Files().WithController([](SimController& controller) {
        controller.Faults().refuseNextStartedCommand = true;
        controller.Faults().refusedStartedCommand.reset();
    });
    ShowMachine();
}

void SimControlWindow::OnStiffAxes() {
    const bool stiff = IsItemChecked(sim_control_id::kStiffAxes);
    sim.WithMachine([stiff](SimMachine& machine) { machine.SetAxesStiff(stiff); });
}

void SimControlWindow::OnFaultBox() {
    std::array<bool, kFaultBoxes.size()> on{};
    for (std::size_t i = 0; i < kFaultBoxes.size(); ++i) on[i] = IsItemChecked(kFaultBoxes[i].id);
    sim.Files().WithController([&on](SimController& controller) {
        for (std::size_t i = 0; i < kFaultBoxes.size(); ++i)
            controller.Faults().*kFaultBoxes[i].fault = on[i];
    });
}

void SimControlWindow::ShowMachine() {
    const MachineView view = sim.Files().WithController([](SimController& controller) {
        const SimMachine& machine = controller.Machine();
        MachineView v{machine.SensorBytes(),
                      {},
                      (machine.StatusWord() & kSimStatusUpdateMode) != 0,
                      controller.Faults().refuseNextStartedCommand,
                      controller.Faults().refusedStartedCommand,
                      machine.Position(),
                      machine.LastReceipt(),
                      machine.AxesStiff(),
                      controller.Faults()};
        for (std::size_t i = 0; i < kLimits.size(); ++i) {
            v.holds[i] = machine.LimitSwitchHold(kLimits[i].axis);
        }
        return v;
    });
    for (std::size_t i = 0; i < kLimits.size(); ++i) {
        const LimitSwitch& limit = kLimits[i];
        SetItemCheckState(limit.id, BoxFor(view.holds[i]));
        const std::string text =
            std::string(limit.name) + (IsSet(view.bytes, limit.bit) ? ": on" : ": off");
        // Only a change is written, so that the boxes do not flicker.
        if (ItemText(limit.id) != text) SetItemText(limit.id, text);
    }
    for (const SensorSwitch& sensor : kSwitches) CheckItem(sensor.id, IsOn(view.bytes, sensor));
    CheckItem(sim_control_id::kUpdateMode, view.updateMode);
    CheckItem(sim_control_id::kStiffAxes, view.axesStiff);
    for (const FaultBox& box : kFaultBoxes) CheckItem(box.id, view.faults.*box.fault);
    const std::string failed = FailedCommandText(view);
    if (ItemText(sim_control_id::kFailedCommand) != failed)
        SetItemText(sim_control_id::kFailedCommand, failed);
    const std::string position = PositionText(view.position);
    if (ItemText(sim_control_id::kPosition) != position)
        SetItemText(sim_control_id::kPosition, position);
    const std::string received = ReceiptText(view.receipt);
    if (ItemText(sim_control_id::kReceived) != received)
        SetItemText(sim_control_id::kReceived, received);
    const bool plugged = sim.Plugged();
    EnableItem(sim_control_id::kUnplug, plugged);
    EnableItem(sim_control_id::kPlugIn, !plugged);
}

void SimControlWindow::PlaceBesideConsole() {
    const ui::Dialog* console = app().mainWindow();
    if (placed || console == nullptr || console->window() == ui::kNoWindow) return;
    const ui::Rect own = WindowRect();
    MoveWindowTo(
        PlaceBeside(console->WindowRect(), {own.Width(), own.Height()}, console->WorkArea()));
    placed = true;
}

}  // namespace hw
