#include "SimControlWindow.h"

#include <array>
#include <cstddef>
#include <utility>

namespace hw {

namespace {

namespace id = sim_control_id;

using SensorBytes = std::array<std::uint8_t, kSimSensorBytes>;

// One sensor's check box: the bit of the machine's sensor bytes it shows and
// what a person does at the machine to change it.
struct SensorSwitch {
    int id;
    std::size_t byte;
    std::uint8_t mask;
    bool activeLow;  // the box is checked while the bit is clear
    void (*set)(SimMachine& machine, bool checked);
};

const std::array<SensorSwitch, 7> kSensors = {{
    {901, 0, 0x08, false, [](SimMachine& m, bool on) { m.HoldLimitSwitch(kSimAxisX, on); }},
    {902, 0, 0x10, false, [](SimMachine& m, bool on) { m.HoldLimitSwitch(kSimAxisY, on); }},
    {903, 0, 0x20, false, [](SimMachine& m, bool on) { m.HoldLimitSwitch(kSimAxisZ, on); }},
    {904, 2, 0x10, false, [](SimMachine& m, bool on) { m.HoldLimitSwitch(kSimAxisA, on); }},
    {905, 5, 0x40, false, [](SimMachine& m, bool on) { m.SetCoverOpen(on); }},
    {906, 5, 0x01, false, [](SimMachine& m, bool on) { m.SetNoseTouching(on); }},
    {907, 4, 0x02, true, [](SimMachine& m, bool on) { m.SetPumpSwitch(on); }},
}};

// The machine's key word bit of each key box, from id::kFirstKey on: +X, -X,
// +Y, -Y, +Z, -Z, Rapid, XY, Z, MENU, ENTER, SP, COPY.
constexpr std::array<std::uint16_t, id::kLastKey - id::kFirstKey + 1> kKeyBits = {
    0x0008, 0x0400, 0x1000, 0x0002, 0x0800, 0x0001, 0x0200,
    0x0080, 0x2000, 0x0040, 0x0020, 0x0010, 0x0004};

bool IsOn(const SensorBytes& bytes, const SensorSwitch& sensor) {
    return ((bytes[sensor.byte] & sensor.mask) != 0) != sensor.activeLow;
}

}  // namespace

const ui::MessageMapEntry SimControlWindow::messageMap[] = {
    ui::OnMessage(ui::kWmTimer, &SimControlWindow::OnTimer),
    ui::OnCommandRange(id::kFirstSensor, id::kLastSensor, &SimControlWindow::OnSensor),
    ui::OnCommandRange(id::kFirstKey, id::kLastKey, &SimControlWindow::OnKey),
    ui::OnCommand(id::kDialMinus, &SimControlWindow::OnDialMinus),
    ui::OnCommand(id::kDialPlus, &SimControlWindow::OnDialPlus),
    ui::OnCommand(id::kUnplug, &SimControlWindow::OnUnplug),
    ui::OnCommand(id::kPlugIn, &SimControlWindow::OnPlugIn),
    ui::OnCommand(id::kUpdateMode, &SimControlWindow::OnUpdateMode),
    ui::OnCommand(id::kFailNextCommand, &SimControlWindow::OnFailNextCommand),
};

std::span<const ui::MessageMapEntry> SimControlWindow::GetMessageMap() const {
    return messageMap;
}

SimControlWindow::SimControlWindow(ui::Application& app, SimEnvironment& environment)
    : ui::Dialog(app, id::kDialog), sim(environment) {}

SimControlWindow::~SimControlWindow() = default;

bool SimControlWindow::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    ShowMachine();
    SetTimer(kSimControlTimerEvent, kSimControlTimerMs);
    return true;
}

void SimControlWindow::OnOK() {}

void SimControlWindow::OnCancel() {
    DestroyWindow();
}

std::intptr_t SimControlWindow::OnTimer(const ui::Message&) {
    ShowMachine();
    return 0;
}

// The sensor whose box was clicked is the one whose box and machine state
// now differ.
void SimControlWindow::OnSensor() {
    std::array<bool, kSensors.size()> checked{};
    for (std::size_t i = 0; i < kSensors.size(); ++i) checked[i] = IsItemChecked(kSensors[i].id);
    sim.WithMachine([&checked](SimMachine& machine) {
        const SensorBytes bytes = machine.SensorBytes();
        for (std::size_t i = 0; i < kSensors.size(); ++i) {
            if (checked[i] != IsOn(bytes, kSensors[i])) kSensors[i].set(machine, checked[i]);
        }
    });
    ShowMachine();
}

void SimControlWindow::OnKey() {
    std::uint16_t keys = 0;
    for (std::size_t i = 0; i < kKeyBits.size(); ++i) {
        if (IsItemChecked(id::kFirstKey + static_cast<int>(i))) keys |= kKeyBits[i];
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
    const bool on = IsItemChecked(id::kUpdateMode);
    sim.WithMachine([on](SimMachine& machine) {
        if (on) {
            machine.EnterUpdateMode();
        } else {
            machine.SetUpdateMode(0);
        }
    });
}

void SimControlWindow::OnFailNextCommand() {
    sim.Files().WithController(
        [](SimController& controller) { ++controller.Faults().refuseCommands; });
}

void SimControlWindow::ShowMachine() {
    const auto [bytes, updateMode] = sim.WithMachine([](SimMachine& machine) {
        return std::pair{machine.SensorBytes(), (machine.StatusWord() & kSimStatusUpdateMode) != 0};
    });
    for (const SensorSwitch& sensor : kSensors) CheckItem(sensor.id, IsOn(bytes, sensor));
    CheckItem(id::kUpdateMode, updateMode);
    const bool plugged = sim.Plugged();
    EnableItem(id::kUnplug, plugged);
    EnableItem(id::kPlugIn, !plugged);
}

}  // namespace hw
