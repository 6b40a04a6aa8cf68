// The demonstration's control window: a modeless dialog beside the console
// through which a person plays the technician at the simulated machine. It
// makes and breaks the sensors the console watches, holds panel keys, turns
// the dial, pulls and plugs the cable, puts the machine in firmware update
// mode and makes the next command fail.
#pragma once

#include <cstdint>
#include <span>

#include "SimEnvironment.h"
#include "ui/Dialog.h"

namespace hw {

namespace sim_control_id {
inline constexpr int kDialog = 900;
// Check boxes, one per sensor: limit X, Y, Z, A, cover open, nose touching,
// pump switch on.
inline constexpr int kFirstSensor = 901;
inline constexpr int kLastSensor = 907;
// Check boxes, one per panel key, checked while the key is held.
inline constexpr int kFirstKey = 911;
inline constexpr int kLastKey = 923;
inline constexpr int kDialMinus = 931;
inline constexpr int kDialPlus = 932;
inline constexpr int kUnplug = 941;
inline constexpr int kPlugIn = 942;
inline constexpr int kUpdateMode = 951;
inline constexpr int kFailNextCommand = 952;
}  // namespace sim_control_id

// The check boxes follow the machine at this period.
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
    std::intptr_t OnTimer(const ui::Message& message);
    void OnSensor();
    void OnKey();
    void OnDialMinus();
    void OnDialPlus();
    void OnUnplug();
    void OnPlugIn();
    void OnUpdateMode();
    void OnFailNextCommand();
    // The boxes and buttons from the machine's present state.
    void ShowMachine();

    static const ui::MessageMapEntry messageMap[];

    SimEnvironment& sim;
};

}  // namespace hw
