// What the machine senses and shows: its sensor bytes, the operation panel
// (keys, dial, text, mode), the analog values and the meter, and what a
// technician does at it (cover, pump switch, nose, held limit switches).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "sim/machine/SimConfig.h"
#include "sim/machine/SimDrive.h"
#include "sim/machine/SimLogbook.h"

namespace hw {

inline constexpr int kSimSensorBytes = 13;
inline constexpr int kSimAnalogValues = 8;
// Meter channels: spindle current (A), 24 V supply, 5 V supply, temperature.
inline constexpr int kSimMeterChannels = 4;
inline constexpr std::uint8_t kSimMeterOff = 0xFF;

class SimPanel {
  public:
    SimPanel(const SimConfig& config, const SimDrive& drive, const SimLogbook& log)
        : config_(config), drive_(drive), log_(log) {}

    std::array<std::uint8_t, kSimSensorBytes> SensorBytes() const;
    std::array<std::uint16_t, kSimAnalogValues> AnalogValues() const;
    std::uint8_t SelectMeter(std::uint8_t channel);
    std::uint8_t ReadMeter(std::uint16_t channel, float& value) const;

    std::uint16_t Keys() const { return keys_; }
    void SetKeys(std::uint16_t keys) { keys_ = keys; }
    std::int32_t DialCounter() const;
    void TurnDial(std::int32_t steps) { dialSteps_ += steps; }
    void ShowText(std::uint8_t timeByte, std::string text);
    const std::string& Text() const { return text_; }
    std::uint8_t TextTime() const { return textTime_; }
    void SetOperation(bool on) { operation_ = on; }
    bool Operation() const { return operation_; }
    void SetMode(std::uint8_t mode) { mode_ = mode; }
    std::uint8_t Mode() const { return mode_; }

    void SetCoverOpen(bool open) { coverOpen_ = open; }
    bool CoverOpen() const { return coverOpen_; }
    void SetPumpSwitch(bool on) { pumpSwitchOn_ = on; }
    void SetNoseTouching(bool touching) { noseTouching_ = touching; }
    void HoldLimitSwitch(int axis, std::optional<bool> made) { heldLimits_[axis] = made; }
    std::optional<bool> LimitSwitchHold(int axis) const { return heldLimits_[axis]; }

  private:
    const SimConfig& config_;
    const SimDrive& drive_;
    const SimLogbook& log_;

    bool coverOpen_ = false;
    bool pumpSwitchOn_ = false;
    bool noseTouching_ = false;
    std::array<std::optional<bool>, kSimAxes> heldLimits_{};
    std::uint16_t keys_ = 0;
    std::int32_t dialSteps_ = 0;
    bool operation_ = true;
    std::uint8_t mode_ = 0;
    std::string text_;
    std::uint8_t textTime_ = 0;
    std::uint8_t meterChannel_ = kSimMeterOff;
};

}  // namespace hw
