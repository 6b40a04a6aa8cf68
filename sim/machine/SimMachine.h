// The simulated QMV-240 itself: axes, homing, sensors, operation panel,
// meters, running-time counters, the parameter block, the procedures it runs
// by itself, the bulk data it sends and takes, and print jobs. It advances
// from the clock whenever the host talks to it; it has no thread of its own.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/machine/SimConfig.h"
#include "sim/machine/SimFaults.h"
#include "sim/machine/SimInstructions.h"
#include "sim/machine/SimMotion.h"
#include "sim/machine/SimParameters.h"
#include "sim/machine/SimStream.h"
#include "sim/pc/SimClock.h"

namespace hw {

// Status word bits as the machine reports them. The low four bits are a
// state code: 1 while a procedure runs (with the busy bit) and, when idle,
// while every axis stands at its origin (ready at origin); 3 in error.
inline constexpr std::uint16_t kSimStateReady = 1;
inline constexpr std::uint16_t kSimStateRunning = 1;
inline constexpr std::uint16_t kSimStateError = 3;
inline constexpr std::uint16_t kSimStatusFailed = 0x2000;
inline constexpr std::uint16_t kSimStatusBusy = 0x4000;
inline constexpr std::uint16_t kSimStatusUpdateMode = 0x8000;

inline constexpr int kSimSensorBytes = 13;
inline constexpr int kSimAnalogValues = 8;
// Meter channels: spindle current (A), 24 V supply, 5 V supply, temperature.
inline constexpr int kSimMeterChannels = 4;
inline constexpr std::uint8_t kSimMeterOff = 0xFF;
// Feed of homing moves and of the moves a procedure makes by itself.
inline constexpr std::uint32_t kSimHomingFeed = 3000;
inline constexpr std::uint32_t kSimProcedureFeed = 1200;
// What stiff axes add to the power each axis needs in its load check.
inline constexpr std::uint16_t kSimStiffExtraLoad = 40;

// What the machine made of the last print job it was sent: firmware taken
// in update mode, a file of instructions taken while ready, or a job it
// refused.
struct SimReceipt {
    enum class Kind { None, Firmware, File, Refused };
    Kind kind = Kind::None;
    std::size_t bytes = 0;
};

class SimMachine {
  public:
    SimMachine(SimClock& clock, const SimConfig& config, SimFaults& faults);

    // Brings motion, procedures and counters up to the clock's time.
    void Update();
    std::uint64_t Now() const { return now_; }

    // Identity and status.
    std::uint16_t StatusWord() const;
    bool Busy() const;
    const std::string& Version() const { return version_; }
    std::string DeviceId() const;

    // Motion (reply statuses of the request layer).
    const SimPosition& Position() const { return motion_.Position(); }
    SimPosition TargetPosition() const { return motion_.FinalTarget(); }
    std::uint8_t MoveTo(const std::int32_t* values, int count, std::uint16_t feed);
    std::uint8_t ReturnToOrigin();
    std::uint8_t StopMotion();

    // Procedures and checks.
    std::uint8_t StartLoadCheck(std::uint8_t axisCode, std::uint16_t power);
    std::uint8_t StartAging();
    std::uint8_t CancelProcedure();
    std::uint8_t CheckSerialPort();
    bool ProcedureRunning() const { return procedure_ != Procedure::None; }
    // The serial-port check answers its command only once it has ended.
    bool HoldsReply() const { return procedure_ == Procedure::SerialCheck; }

    // Sensors, panel and meters.
    std::array<std::uint8_t, kSimSensorBytes> SensorBytes() const;
    std::uint16_t PanelKeys() const { return keys_; }
    std::int32_t DialCounter() const;
    void ShowPanelText(std::uint8_t timeByte, std::string text);
    void SetPanelOperation(bool on) { panelOperation_ = on; }
    void SetPanelMode(std::uint8_t mode) { panelMode_ = mode; }
    std::array<std::uint16_t, kSimAnalogValues> AnalogValues() const;
    std::uint8_t SelectMeter(std::uint8_t channel);
    std::uint8_t ReadMeter(std::uint16_t channel, float& value) const;

    // Settings and counters.
    SimParameters& Parameters() { return parameters_; }
    const SimParameters& Parameters() const { return parameters_; }
    std::uint8_t WriteSerial(const std::string& serial);
    std::uint8_t SetScale(std::uint16_t axis, std::int32_t value, std::int32_t base);
    void ClearSpindleTime();
    void ClearPumpTime();
    std::uint32_t SpindleMinutes() const;
    std::uint32_t PumpMinutes() const;

    // Bulk data, print jobs and firmware update mode.
    void AnnounceReport();
    std::int32_t AnnounceBlock();
    std::int32_t ExpectBlock();
    // A command arrived: it ends a parameter put that has taken its block or
    // been refused; a state-changing one also ends, failed, a put that is
    // still incomplete.
    void EndParameterPut(bool stateChanging);
    bool BulkRead(std::uint8_t* buffer, std::uint32_t n, std::uint32_t& done);
    bool BulkWrite(const std::uint8_t* data, std::uint32_t n, std::uint32_t& done);
    void ReceivePrintJob(const std::vector<std::uint8_t>& data);
    std::uint8_t SetUpdateMode(std::uint8_t mode);
    // The cable was pulled: data queued for the host and partial puts are lost.
    void Disconnected();

    // What a technician does at the machine.
    void SetCoverOpen(bool open);
    void SetPumpSwitch(bool on) { pumpSwitchOn_ = on; }
    void SetNoseTouching(bool touching) { noseTouching_ = touching; }
    // Holds a limit switch (on A: the rotary home switch) made or open from
    // now on, whatever the axis position says; nullopt lets it follow its
    // axis again.
    void HoldLimitSwitch(int axis, std::optional<bool> made) { heldLimits_[axis] = made; }
    // How the switch is held; nullopt while it follows its axis.
    std::optional<bool> LimitSwitchHold(int axis) const { return heldLimits_[axis]; }
    void SetKeys(std::uint16_t keys) { keys_ = keys; }
    void TurnDial(std::int32_t steps) { dialSteps_ += steps; }
    void EnterUpdateMode();
    void SetTemperature(double celsius) { config_.temperatureC = celsius; }
    void SetAxisLoad(int axis, std::uint16_t percent) { config_.axisLoadPercent[axis] = percent; }
    // Stiff axes (a dry guide, a tight belt) need kSimStiffExtraLoad percent
    // more power than their load to pass the load check.
    void SetAxesStiff(bool stiff) { axesStiff_ = stiff; }
    bool AxesStiff() const { return axesStiff_; }
    void SetSerialLoopback(bool fitted) { config_.serialLoopback = fitted; }
    // Puts the machine in its error state, as an axis fault would.
    void RaiseError(const std::string& why);

    // What the machine shows or has taken, for observers.
    const std::string& PanelText() const { return panelText_; }
    std::uint8_t PanelTextTime() const { return panelTextTime_; }
    bool PanelOperation() const { return panelOperation_; }
    std::uint8_t PanelMode() const { return panelMode_; }
    const std::vector<std::uint8_t>& Firmware() const { return firmware_; }
    int FirmwareUpdates() const { return firmwareUpdates_; }
    const SimReceipt& LastReceipt() const { return lastReceipt_; }
    bool SpindleOn() const { return spindleOn_; }
    const std::vector<std::string>& Events() const { return events_; }
    std::string ReportText() const;

  private:
    enum class Procedure { None, LoadCheck, Aging, SerialCheck };

    bool Ready() const;
    // Homed, still, and every axis at its origin.
    bool AtOrigin() const;
    void Log(const std::string& text);
    void UpdateProcedure();
    void EndProcedure(bool failed, const std::string& why);
    void QueueAgingLeg();
    void QueueLoadStrokes(int axis);
    void TakePutBytes(const std::uint8_t* data, std::uint32_t n);
    void FinishBlock();
    void RefusePut(const std::string& why);
    void ExecuteInstruction(std::string_view text);
    void MoveXY(std::int32_t x, std::int32_t y, std::int32_t z);
    void AcceptFirmware(const std::vector<std::uint8_t>& data);

    SimClock& clock_;
    SimConfig config_;
    SimFaults& faults_;
    std::uint64_t now_ = 0;
    std::string version_;
    SimMotion motion_;
    SimParameters parameters_;

    bool homed_ = false;
    bool homing_ = false;
    bool error_ = false;
    bool failed_ = false;
    bool updateMode_ = false;

    Procedure procedure_ = Procedure::None;
    int procedureAxis_ = 0;
    bool procedurePasses_ = true;
    std::uint64_t procedureEnd_ = 0;
    int agingLeg_ = 0;
    bool axesStiff_ = false;

    bool spindleOn_ = false;
    std::uint64_t spindleMs_ = 0;
    std::uint64_t pumpMs_ = 0;

    bool coverOpen_ = false;
    bool pumpSwitchOn_ = false;
    bool noseTouching_ = false;
    std::array<std::optional<bool>, kSimAxes> heldLimits_{};
    std::uint16_t keys_ = 0;
    std::int32_t dialSteps_ = 0;
    bool panelOperation_ = true;
    std::uint8_t panelMode_ = 0;
    std::string panelText_;
    std::uint8_t panelTextTime_ = 0;
    std::uint8_t meterChannel_ = kSimMeterOff;

    SimStream toHost_;
    // A parameter put takes every bulk write from its announcement until a
    // command ends it (see EndParameterPut): a whole block, and not one byte
    // more, or it is refused.
    enum class Put { None, Receiving, Taken, Refused };
    Put put_ = Put::None;
    std::vector<std::uint8_t> incomingBlock_;
    std::vector<std::uint8_t> blockBeforePut_;
    SimInstructionReader instructions_;
    std::uint32_t cutFeed_ = 1200;
    std::int32_t cutDepth_ = -300;

    std::vector<std::uint8_t> firmware_;
    int firmwareUpdates_ = 0;
    SimReceipt lastReceipt_;
    std::vector<std::string> events_;
};

}  // namespace hw
