// The demonstration's control window: a modeless dialog beside the console
// through which a person plays the technician at the simulated machine. It
// shows where the axes stand, makes and breaks the sensors the console watches, holds limit
// switches made or open or lets them follow their axes, holds panel keys, turns the dial, pulls and
// plugs the cable, puts the machine in firmware update mode, makes the next command the
// technician starts fail, makes the axes stiff, so that a load check fails, makes the
// machine store the next parameter block put with one byte corrupted, and makes the next
// firmware update erase the parameter block or leave the machine off the bus. It acts on
// the machine the console is connected to, and names it in its caption. It shows what the
// machine received of the last file sent to it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "sim/pc/SimEnvironment.h"
#include "ui/Dialog.h"

namespace hw {

namespace sim_control_id {
inline constexpr int kDialog = 900;
// Three-state boxes, one per limit switch: X, Y, Z, A. Greyed: the switch
// follows its axis; checked: held made; clear: held open. Each box's text
// ends in the switch's state as the machine reports it, "on" or "off".
inline constexpr int kFirstLimit = 901;
inline constexpr int kLastLimit = 904;
// Check boxes, one per other sensor: cover open, nose touching, pump switch
// on.
inline constexpr int kFirstSwitch = 905;
inline constexpr int kLastSwitch = 907;
// Check boxes, one per panel key, checked while the key is held.
inline constexpr int kFirstKey = 911;
inline constexpr int kLastKey = 923;
inline constexpr int kDialMinus = 931;
inline constexpr int kDialPlus = 932;
inline constexpr int kUnplug = 941;
inline constexpr int kPlugIn = 942;
inline constexpr int kUpdateMode = 951;
inline constexpr int kFailNextCommand = 952;
// Text: the armed failure, or the command it failed.
inline constexpr int kFailedCommand = 953;
// Text: where the axes stand, in millimetres, so that motion the console
// starts (a test cut, a move) can be watched.
inline constexpr int kPosition = 954;
// Text: what the machine made of the last file sent to it.
inline constexpr int kReceived = 955;
// Check box: the axes run stiff, so that a load check at the usual power
// fails; clear, it passes.
inline constexpr int kStiffAxes = 956;
// Check boxes that arm a fault the machine takes once, each clear again once
// it has been taken: the next parameter block put is stored with one byte
// corrupted; the next firmware update erases the parameter block; after the
// next firmware update the machine does not come back until plugged in.
inline constexpr int kCorruptNextPut = 957;
inline constexpr int kLoseBlockAtUpdate = 958;
inline constexpr int kStaysAwayAfterUpdate = 959;
}  // namespace sim_control_id

// The check boxes follow the machine at this period; the first tick that
// finds the console up moves this window beside it.
inline constexpr std::uintptr_t kSimControlTimerEvent = 1;
inline constexpr std::uint32_t kSimControlTimerMs = 500;

class SimControlWindow : public ui::Dialog {
  public:
    SimControlWindow(ui::Application& app, SimEnvironment& sim);
    ~SimControlWindow() override;

  protected:
    bool OnInitDialog() override;
    // Enter changes nothing; the close box only closes this window.
    void OnOK() override;
    void OnCancel() override;
    std::span<const ui::MessageMapEntry> GetMessageMap() const override;

  private:
    void OnTimer(std::uintptr_t event);
    void OnLimit();
    void OnSwitch();
    void OnKey();
    void OnDialMinus();
    void OnDialPlus();
    void OnUnplug();
    void OnPlugIn();
    void OnUpdateMode();
    void OnFailNextCommand();
    void OnStiffAxes();
    void OnFaultBox();
    // The boxes and buttons from the machine's present state.
    void ShowMachine();
    // Once the console is up: beside it, or below it when there is no room,
    // so that both are in full view.
    void PlaceBesideConsole();
    // The caption names the machine acted on: the one the console talks to.
    void ShowActingMachine();

    static const ui::MessageMapEntry messageMap[];

    SimEnvironment& sim;
    bool placed = false;
    std::string caption;
};

}  // namespace hw
