// The simulated QMV-240 itself, put together from its parts: the drive (axes,
// homing, procedures, spindle), the panel and sensors, the stored parameter
// block and counters, and the bulk traffic and firmware. It advances from the
// clock whenever the host talks to it; it has no thread of its own.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/machine/SimBulk.h"
#include "sim/machine/SimConfig.h"
#include "sim/machine/SimDrive.h"
#include "sim/machine/SimFaults.h"
#include "sim/machine/SimLogbook.h"
#include "sim/machine/SimPanel.h"
#include "sim/machine/SimStorage.h"
#include "sim/pc/SimClock.h"

namespace hw {

class SimMachine {
  public:
    SimMachine(SimClock& clock, const SimConfig& config, SimFaults& faults);

    // Brings motion, procedures and counters up to the clock's time.
    void Update();
    std::uint64_t Now() const { return log_.Now(); }

    // Identity and status.
    std::uint16_t StatusWord() const { return drive_.StatusWord(); }
    bool Busy() const { return drive_.Busy(); }
    const std::string& Version() const { return bulk_.Version(); }
    std::string DeviceId() const;

    // Motion (reply statuses of the request layer).
    const SimPosition& Position() const { return drive_.Motion().Position(); }
    SimPosition TargetPosition() const { return drive_.Motion().FinalTarget(); }
    std::uint8_t MoveTo(const std::int32_t* values, int count, std::uint16_t feed) {
        return drive_.MoveTo(values, count, feed);
    }
    std::uint8_t ReturnToOrigin() { return drive_.ReturnToOrigin(); }
    std::uint8_t StopMotion() { return drive_.StopMotion(); }

    // Procedures and checks.
    std::uint8_t StartLoadCheck(std::uint8_t axisCode, std::uint16_t power) {
        return drive_.StartLoadCheck(axisCode, power);
    }
    std::uint8_t StartAging() { return drive_.StartAging(); }
    std::uint8_t CancelProcedure() { return drive_.CancelProcedure(); }
    std::uint8_t CheckSerialPort() { return drive_.CheckSerialPort(); }
    bool ProcedureRunning() const { return drive_.ProcedureRunning(); }
    // The serial-port check answers its command only once it has ended.
    bool HoldsReply() const { return drive_.HoldsReply(); }

    // Sensors, panel and meters.
    std::array<std::uint8_t, kSimSensorBytes> SensorBytes() const { return panel_.SensorBytes(); }
    std::uint16_t PanelKeys() const { return panel_.Keys(); }
    std::int32_t DialCounter() const { return panel_.DialCounter(); }
    void ShowPanelText(std::uint8_t timeByte, std::string text) {
        panel_.ShowText(timeByte, std::move(text));
    }
    void SetPanelOperation(bool on) { panel_.SetOperation(on); }
    void SetPanelMode(std::uint8_t mode) { panel_.SetMode(mode); }
    std::array<std::uint16_t, kSimAnalogValues> AnalogValues() const {
        return panel_.AnalogValues();
    }
    std::uint8_t SelectMeter(std::uint8_t channel) { return panel_.SelectMeter(channel); }
    std::uint8_t ReadMeter(std::uint16_t channel, float& value) const {
        return panel_.ReadMeter(channel, value);
    }

    // Settings and counters.
    SimParameters& Parameters() { return storage_.Parameters(); }
    const SimParameters& Parameters() const { return storage_.Parameters(); }
    std::uint8_t WriteSerial(const std::string& serial) { return storage_.WriteSerial(serial); }
    std::uint8_t SetScale(std::uint16_t axis, std::int32_t value, std::int32_t base) {
        return storage_.SetScale(axis, value, base);
    }
    void ClearSpindleTime() { storage_.ClearSpindleTime(); }
    void ClearPumpTime() { storage_.ClearPumpTime(); }
    std::uint32_t SpindleMinutes() const { return storage_.SpindleMinutes(); }
    std::uint32_t PumpMinutes() const { return storage_.PumpMinutes(); }

    // Bulk data, print jobs and firmware update mode.
    void AnnounceReport();
    std::int32_t AnnounceBlock() { return bulk_.AnnounceBlock(); }
    std::int32_t ExpectBlock() { return bulk_.ExpectBlock(); }
    void EndParameterPut(bool stateChanging) { bulk_.EndParameterPut(stateChanging); }
    bool BulkRead(std::uint8_t* buffer, std::uint32_t n, std::uint32_t& done) {
        return bulk_.BulkRead(buffer, n, done);
    }
    bool BulkWrite(const std::uint8_t* data, std::uint32_t n, std::uint32_t& done) {
        return bulk_.BulkWrite(data, n, done);
    }
    void ReceivePrintJob(const std::vector<std::uint8_t>& data);
    std::uint8_t SetUpdateMode(std::uint8_t mode);
    void Disconnected() { bulk_.Disconnected(); }

    // What a technician does at the machine.
    void SetCoverOpen(bool open);
    void SetPumpSwitch(bool on) { panel_.SetPumpSwitch(on); }
    void SetNoseTouching(bool touching) { panel_.SetNoseTouching(touching); }
    // Holds a limit switch (on A: the rotary home switch) made or open from
    // now on, whatever the axis position says; nullopt lets it follow its
    // axis again.
    void HoldLimitSwitch(int axis, std::optional<bool> made) { panel_.HoldLimitSwitch(axis, made); }
    // How the switch is held; nullopt while it follows its axis.
    std::optional<bool> LimitSwitchHold(int axis) const { return panel_.LimitSwitchHold(axis); }
    void SetKeys(std::uint16_t keys) { panel_.SetKeys(keys); }
    void TurnDial(std::int32_t steps) { panel_.TurnDial(steps); }
    void EnterUpdateMode();
    void SetTemperature(double celsius) { config_.temperatureC = celsius; }
    void SetAxisLoad(int axis, std::uint16_t percent) { config_.axisLoadPercent[axis] = percent; }
    // Stiff axes (a dry guide, a tight belt) need kSimStiffExtraLoad percent
    // more power than their load to pass the load check.
    void SetAxesStiff(bool stiff) { drive_.SetAxesStiff(stiff); }
    bool AxesStiff() const { return drive_.AxesStiff(); }
    void SetSerialLoopback(bool fitted) { config_.serialLoopback = fitted; }
    // Puts the machine in its error state, as an axis fault would.
    void RaiseError(const std::string& why) { drive_.RaiseError(why); }

    // What the machine shows or has taken, for observers.
    const std::string& PanelText() const { return panel_.Text(); }
    std::uint8_t PanelTextTime() const { return panel_.TextTime(); }
    bool PanelOperation() const { return panel_.Operation(); }
    std::uint8_t PanelMode() const { return panel_.Mode(); }
    bool CoverOpen() const { return panel_.CoverOpen(); }
    double Temperature() const { return config_.temperatureC; }
    const std::vector<std::uint8_t>& Firmware() const { return bulk_.Firmware(); }
    int FirmwareUpdates() const { return bulk_.FirmwareUpdates(); }
    const SimReceipt& LastReceipt() const { return bulk_.LastReceipt(); }
    bool SpindleOn() const { return drive_.SpindleOn(); }
    const std::vector<std::string>& Events() const { return log_.Events(); }
    std::string ReportText() const;

  private:
    SimClock& clock_;
    SimConfig config_;
    SimLogbook log_;
    SimDrive drive_;
    SimStorage storage_;
    SimPanel panel_;
    SimBulk bulk_;
};

}  // namespace hw
