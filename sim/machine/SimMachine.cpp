#include "sim/machine/SimMachine.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sim/usb/SimRequest.h"

namespace hw {

namespace {

constexpr std::size_t kMaxEvents = 40;
constexpr std::int32_t kRotaryHomeBand = 300;
// Where the axes stand at power-on when the machine does not seek its origin.
constexpr SimPosition kPowerOnPosition{12500, 8300, -650, 17000};

// The raw temperature word: the inverse of C = 142 + floor(-9054 v / 65536).
std::uint16_t TemperatureWord(double celsius) {
    const double v = std::floor((142.0 - celsius) * 65536.0 / 9054.0);
    return static_cast<std::uint16_t>(std::clamp(v, 0.0, 32767.0));
}

}  // namespace

SimMachine::SimMachine(SimClock& clock, const SimConfig& config, SimFaults& faults)
    : clock_(clock),
      config_(config),
      faults_(faults),
      now_(clock.NowMs()),
      version_(config.version),
      motion_(config.lostMotion),
      parameters_(config.serial),
      spindleMs_(std::uint64_t{config.spindleMinutes} * 60000),
      pumpMs_(std::uint64_t{config.pumpMinutes} * 60000) {
    if (config.homedAtPowerOn) {
        homed_ = true;
    } else {
        motion_.Place(kPowerOnPosition);
    }
    Log("power on");
}

void SimMachine::Update() {
    const std::uint64_t now = std::max(now_, clock_.NowMs());
    if (spindleOn_) {
        spindleMs_ += now - now_;
        pumpMs_ += now - now_;
    }
    now_ = now;
    motion_.Update(now_);
    if (homing_ && !motion_.Moving()) {
        homing_ = false;
        homed_ = true;
        Log("origin reached");
    }
    UpdateProcedure();
}

bool SimMachine::Busy() const {
    return homing_ || motion_.Moving() || ProcedureRunning();
}

bool SimMachine::Ready() const {
    return homed_ && !error_ && !updateMode_;
}

bool SimMachine::AtOrigin() const {
    const SimPosition& p = motion_.Position();
    return homed_ && !homing_ && !motion_.Moving() &&
           std::all_of(p.begin(), p.end(), [](std::int32_t at) { return at == 0; });
}

std::uint16_t SimMachine::StatusWord() const {
    std::uint16_t status = 0;
    if (updateMode_) {
        status = kSimStatusUpdateMode;
    } else if (error_) {
        status = kSimStateError;
    } else if (ProcedureRunning()) {
        status = kSimStateRunning;
    } else if (AtOrigin()) {
        status = kSimStateReady;
    }
    if (Busy()) status |= kSimStatusBusy;
    if (failed_) status |= kSimStatusFailed;
    return status;
}

std::string SimMachine::DeviceId() const {
    return "MFG:Varnel;MDL:QMV-240;CMD:VPL;CLS:PRINTER;DES:Varnel QMV-240;SN:" +
           parameters_.Serial() + ";";
}

void SimMachine::Log(const std::string& text) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%8llu.%03u  ", static_cast<unsigned long long>(now_ / 1000),
                  static_cast<unsigned>(now_ % 1000));
    if (events_.size() == kMaxEvents) events_.erase(events_.begin());
    events_.push_back(stamp + text);
}

std::uint8_t SimMachine::MoveTo(const std::int32_t* values, int count, std::uint16_t feed) {
    if (!Ready() || homing_ || ProcedureRunning()) return kSimNotReady;
    SimPosition target = motion_.Position();
    for (int i = 0; i < count && i < kSimAxes; ++i) target[i] = values[i];
    if (!SimMotion::WithinTravel(target)) return kSimOutOfRange;
    failed_ = false;
    motion_.MoveTo(target, feed, now_);
    return kSimDone;
}

std::uint8_t SimMachine::ReturnToOrigin() {
    if (updateMode_) return kSimNotReady;
    if (ProcedureRunning()) EndProcedure(false, "procedure stopped by return to origin");
    motion_.Stop(now_);
    motion_.WrapRotary();
    error_ = false;
    failed_ = false;
    homed_ = false;
    homing_ = true;
    SimPosition up = motion_.Position();
    up[kSimAxisZ] = 0;
    motion_.Queue(up, kSimHomingFeed, now_);
    motion_.Queue({0, 0, 0, 0}, kSimHomingFeed, now_);
    Log("return to origin");
    return kSimDone;
}

std::uint8_t SimMachine::StopMotion() {
    if (ProcedureRunning()) EndProcedure(false, "procedure stopped by stop motion");
    motion_.Stop(now_);
    if (homing_) {
        homing_ = false;
        Log("return to origin stopped");
    }
    return kSimDone;
}

std::array<std::uint8_t, kSimSensorBytes> SimMachine::SensorBytes() const {
    std::array<std::uint8_t, kSimSensorBytes> bytes{};
    const SimPosition& p = motion_.Position();
    auto atEnd = [this, &p](int axis) {
        return heldLimits_[axis].value_or(p[axis] <= kSimTravel[axis].min ||
                                          p[axis] >= kSimTravel[axis].max);
    };
    if (atEnd(kSimAxisX)) bytes[0] |= 0x08;
    if (atEnd(kSimAxisY)) bytes[0] |= 0x10;
    if (atEnd(kSimAxisZ)) bytes[0] |= 0x20;
    if (spindleOn_) bytes[1] |= 0x01;
    const double fromHome = std::fmod(motion_.TableAngleDeg() * 1000.0 + kRotaryHomeBand,
                                      static_cast<double>(kSimCountsPerTurn));
    if (heldLimits_[kSimAxisA].value_or(fromHome <= 2 * kRotaryHomeBand)) bytes[2] |= 0x10;
    if (updateMode_) bytes[3] |= 0x01;
    if (!pumpSwitchOn_) bytes[4] |= 0x02;
    if (noseTouching_ || p[kSimAxisZ] <= kSimTravel[kSimAxisZ].min) bytes[5] |= 0x01;
    if (coverOpen_) bytes[5] |= 0x40;
    bytes[6] = panelMode_;
    bytes[7] = panelOperation_ ? 1 : 0;
    return bytes;
}

std::int32_t SimMachine::DialCounter() const {
    return dialSteps_ + (config_.encoderMounted ? motion_.EncoderCount() : 0);
}

void SimMachine::ShowPanelText(std::uint8_t timeByte, std::string text) {
    panelTextTime_ = timeByte;
    panelText_ = std::move(text);
}

std::array<std::uint16_t, kSimAnalogValues> SimMachine::AnalogValues() const {
    const auto amps = static_cast<std::uint16_t>(
        1000.0f * (spindleOn_ ? config_.spindleRunningAmps : config_.spindleIdleAmps));
    return {0x0C80,
            0x0D05,
            static_cast<std::uint16_t>(spindleOn_ ? 0x1F40 : 0),
            0,
            static_cast<std::uint16_t>(0x8000 | TemperatureWord(config_.temperatureC)),
            amps,
            0x0200,
            0};
}

std::uint8_t SimMachine::SelectMeter(std::uint8_t channel) {
    if (channel != kSimMeterOff && channel >= kSimMeterChannels) return kSimOutOfRange;
    meterChannel_ = channel;
    return kSimDone;
}

std::uint8_t SimMachine::ReadMeter(std::uint16_t channel, float& value) const {
    if (meterChannel_ == kSimMeterOff) return kSimNotReady;
    if (channel != meterChannel_) return kSimOutOfRange;
    const float ripple = 0.01f * static_cast<float>(std::sin(static_cast<double>(now_) / 700.0));
    switch (channel) {
        case 0:
            value = (spindleOn_ ? config_.spindleRunningAmps : config_.spindleIdleAmps) + ripple;
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

std::uint8_t SimMachine::WriteSerial(const std::string& serial) {
    if (!parameters_.SetSerial(serial)) return kSimOutOfRange;
    Log("serial number set to " + serial);
    return kSimDone;
}

std::uint8_t SimMachine::SetScale(std::uint16_t axis, std::int32_t value, std::int32_t base) {
    if (base <= 0 || axis > 2) return kSimOutOfRange;
    const double scaled = std::round(static_cast<double>(value) * kSimScaleBase / base);
    if (scaled < kSimScaleMin || scaled > kSimScaleMax) return kSimOutOfRange;
    parameters_.SetScale(axis, static_cast<std::int32_t>(scaled));
    return kSimDone;
}

void SimMachine::ClearSpindleTime() {
    spindleMs_ = 0;
    Log("spindle time cleared");
}

void SimMachine::ClearPumpTime() {
    pumpMs_ = 0;
    Log("pump time cleared");
}

std::uint32_t SimMachine::SpindleMinutes() const {
    return static_cast<std::uint32_t>(spindleMs_ / 60000);
}

std::uint32_t SimMachine::PumpMinutes() const {
    return static_cast<std::uint32_t>(pumpMs_ / 60000);
}

void SimMachine::SetCoverOpen(bool open) {
    Update();
    coverOpen_ = open;
    if (open && Busy()) RaiseError("cover opened while moving");
}

void SimMachine::RaiseError(const std::string& why) {
    motion_.Stop(now_);
    procedure_ = Procedure::None;
    homing_ = false;
    spindleOn_ = false;
    error_ = true;
    failed_ = true;
    Log("error: " + why);
}

}  // namespace hw
