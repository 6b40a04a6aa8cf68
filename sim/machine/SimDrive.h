// The machine's drive: axes and homing, the procedures it runs by itself, the
// spindle, the instruction text it cuts, and the state bits of its status
// word (error, failed, firmware update mode).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sim/machine/SimConfig.h"
#include "sim/machine/SimFaults.h"
#include "sim/machine/SimLogbook.h"
#include "sim/machine/SimMotion.h"

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

// Feed of homing moves and of the moves a procedure makes by itself.
inline constexpr std::uint32_t kSimHomingFeed = 3000;
inline constexpr std::uint32_t kSimProcedureFeed = 1200;
// What stiff axes add to the power each axis needs in its load check.
inline constexpr std::uint16_t kSimStiffExtraLoad = 40;

class SimDrive {
  public:
    SimDrive(const SimConfig& config, SimFaults& faults, SimLogbook& log);

    // Brings motion and the running procedure up to the logbook's time.
    void Update();

    std::uint16_t StatusWord() const;
    bool Busy() const;
    // Homed, not in error and not in update mode.
    bool Ready() const;
    const SimMotion& Motion() const { return motion_; }
    bool SpindleOn() const { return spindleOn_; }
    bool UpdateMode() const { return updateMode_; }

    // Motion (reply statuses of the request layer).
    std::uint8_t MoveTo(const std::int32_t* values, int count, std::uint16_t feed);
    std::uint8_t ReturnToOrigin();
    std::uint8_t StopMotion();

    // Procedures and checks.
    std::uint8_t StartLoadCheck(std::uint8_t axisCode, std::uint16_t power);
    std::uint8_t StartAging();
    std::uint8_t CancelProcedure();
    std::uint8_t CheckSerialPort();
    bool ProcedureRunning() const { return procedure_ != Procedure::None; }
    bool HoldsReply() const { return procedure_ == Procedure::SerialCheck; }
    void SetAxesStiff(bool stiff) { axesStiff_ = stiff; }
    bool AxesStiff() const { return axesStiff_; }

    // One instruction of the text the machine cuts; ignored unless ready.
    void Execute(std::string_view text);
    // Sets or clears the failed bit, as a bulk transfer ends.
    void SetFailed(bool failed) { failed_ = failed; }

    void RaiseError(const std::string& why);
    void EnterUpdateMode();
    void LeaveUpdateMode();
    // Restarts on new firmware: out of update mode, axes at zero.
    void Restart();

  private:
    enum class Procedure { None, LoadCheck, Aging, SerialCheck };

    // Homed, still, and every axis at its origin.
    bool AtOrigin() const;
    std::uint64_t Now() const { return log_.Now(); }
    void UpdateProcedure();
    void EndProcedure(bool failed, const std::string& why);
    void QueueAgingLeg();
    void QueueLoadStrokes(int axis);
    void MoveXY(std::int32_t x, std::int32_t y, std::int32_t z);

    const SimConfig& config_;
    SimFaults& faults_;
    SimLogbook& log_;
    SimMotion motion_;

    bool homed_ = false;
    bool homing_ = false;
    bool error_ = false;
    bool failed_ = false;
    bool updateMode_ = false;
    bool spindleOn_ = false;

    Procedure procedure_ = Procedure::None;
    int procedureAxis_ = 0;
    bool procedurePasses_ = true;
    std::uint64_t procedureEnd_ = 0;
    int agingLeg_ = 0;
    bool axesStiff_ = false;

    std::uint32_t cutFeed_ = 1200;
    std::int32_t cutDepth_ = -300;
};

}  // namespace hw
