#include "sim/machine/SimPanel.h"

#include <algorithm>
#include <cmath>

#include "sim/usb/SimRequest.h"

namespace hw {

namespace {

constexpr std::int32_t kRotaryHomeBand = 300;

// The raw temperature word: the inverse of C = 142 + floor(-9054 v / 65536).
std::uint16_t TemperatureWord(double celsius) {
    const double v = std::floor((142.0 - celsius) * 65536.0 / 9054.0);
    return static_cast<std::uint16_t>(std::clamp(v, 0.0, 32767.0));
}

}  // namespace

std::array<std::uint8_t, kSimSensorBytes> SimPanel::SensorBytes() const {
    std::array<std::uint8_t, kSimSensorBytes> bytes{};
    const SimMotion& motion = drive_.Motion();
    const SimPosition& p = motion.Position();
    auto atEnd = [this, &p](int axis) {
        return heldLimits_[axis].value_or(p[axis] <= kSimTravel[axis].min ||
                                          p[axis] >= kSimTravel[axis].max);
    };
    if (atEnd(kSimAxisX)) bytes[0] |= 0x08;
    if (atEnd(kSimAxisY)) bytes[0] |= 0x10;
    if (atEnd(kSimAxisZ)) bytes[0] |= 0x20;
    if (drive_.SpindleOn()) bytes[1] |= 0x01;
    const double fromHome = std::fmod(motion.TableAngleDeg() * 1000.0 + kRotaryHomeBand,
                                      static_cast<double>(kSimCountsPerTurn));
    if (heldLimits_[kSimAxisA].value_or(fromHome <= 2 * kRotaryHomeBand)) bytes[2] |= 0x10;
    if (drive_.UpdateMode()) bytes[3] |= 0x01;
    if (!pumpSwitchOn_) bytes[4] |= 0x02;
    if (noseTouching_ || p[kSimAxisZ] <= kSimTravel[kSimAxisZ].min) bytes[5] |= 0x01;
    if (coverOpen_) bytes[5] |= 0x40;
    bytes[6] = mode_;
    bytes[7] = operation_ ? 1 : 0;
    return bytes;
}

std::int32_t SimPanel::DialCounter() const {
    return dialSteps_ + (config_.encoderMounted ? drive_.Motion().EncoderCount() : 0);
}

void SimPanel::ShowText(std::uint8_t timeByte, std::string text) {
    textTime_ = timeByte;
    text_ = std::move(text);
}

std::array<std::uint16_t, kSimAnalogValues> SimPanel::AnalogValues() const {
    const bool spindleOn = drive_.SpindleOn();
    const auto amps = static_cast<std::uint16_t>(
        1000.0f * (spindleOn ? config_.spindleRunningAmps : config_.spindleIdleAmps));
    return {0x0C80,
            0x0D05,
            static_cast<std::uint16_t>(spindleOn ? 0x1F40 : 0),
            0,
            static_cast<std::uint16_t>(0x8000 | TemperatureWord(config_.temperatureC)),
            amps,
            0x0200,
            0};
}

std::uint8_t SimPanel::SelectMeter(std::uint8_t channel) {
    if (channel != kSimMeterOff && channel >= kSimMeterChannels) return kSimOutOfRange;
    meterChannel_ = channel;
    return kSimDone;
}

std::uint8_t SimPanel::ReadMeter(std::uint16_t channel, float& value) const {
    if (meterChannel_ == kSimMeterOff) return kSimNotReady;
    if (channel != meterChannel_) return kSimOutOfRange;
    const float ripple =
        0.01f * static_cast<float>(std::sin(static_cast<double>(log_.Now()) / 700.0));
    switch (channel) {
        case 0:
            value = (drive_.SpindleOn() ? config_.spindleRunningAmps : config_.spindleIdleAmps) +
                    ripple;
            break;
        case 1:
            value = 24.1f + ripple;
            break;
        case 2:
            value = 5.02f;
            break;
        default:
            value = static_cast<float>(config_.temperatureC);
            break;
    }
    return kSimDone;
}

}  // namespace hw
