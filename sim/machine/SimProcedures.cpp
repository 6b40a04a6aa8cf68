// The procedures the machine runs by itself once started (load check, aging,
// serial-port self-check): each is busy while it runs and leaves the failed
// bit behind when it fails.
#include <string>

#include "sim/machine/SimDrive.h"
#include "sim/usb/SimRequest.h"

namespace hw {

namespace {

// Axis index of a load-check axis code (1 X, 2 Y, 3 A, 4 Z); -1 when invalid.
int LoadAxis(std::uint8_t axisCode) {
    switch (axisCode) {
        case 1:
            return kSimAxisX;
        case 2:
            return kSimAxisY;
        case 3:
            return kSimAxisA;
        case 4:
            return kSimAxisZ;
        default:
            return -1;
    }
}

constexpr const char* kAxisNames[kSimAxes] = {"X", "Y", "Z", "A"};
// Stroke of a load-check move: 10 mm on linear axes, 9 degrees on A.
constexpr std::int32_t kStroke[kSimAxes] = {1000, 1000, 1000, 9000};
// The square the aging run drives, in 1/100 mm.
constexpr std::int32_t kAgingCorners[4][2] = {
    {10000, 10000}, {50000, 10000}, {50000, 30000}, {10000, 30000}};

}  // namespace

std::uint8_t SimDrive::StartLoadCheck(std::uint8_t axisCode, std::uint16_t power) {
    const int axis = LoadAxis(axisCode);
    if (axis < 0 || power > 100) return kSimOutOfRange;
    if (!Ready() || Busy()) return kSimNotReady;
    failed_ = false;
    procedure_ = Procedure::LoadCheck;
    procedureAxis_ = axis;
    const bool faulty = TakeFault(faults_.failNextProcedure);
    const int needed = config_.axisLoadPercent[axis] + (axesStiff_ ? kSimStiffExtraLoad : 0);
    procedurePasses_ = !faulty && power >= needed;
    procedureEnd_ = Now() + config_.loadCheckMs;
    QueueLoadStrokes(axis);
    log_.Note("load check " + std::string(kAxisNames[axis]) + " started at " +
              std::to_string(power) + "% power");
    return kSimDone;
}

void SimDrive::QueueLoadStrokes(int axis) {
    const SimPosition home = motion_.Position();
    SimPosition out = home;
    const bool roomAbove = home[axis] + kStroke[axis] <= kSimTravel[axis].max;
    out[axis] += roomAbove ? kStroke[axis] : -kStroke[axis];
    for (int stroke = 0; stroke < 2; ++stroke) {
        motion_.Queue(out, kSimProcedureFeed, Now());
        motion_.Queue(home, kSimProcedureFeed, Now());
    }
}

std::uint8_t SimDrive::StartAging() {
    if (!Ready() || Busy()) return kSimNotReady;
    failed_ = false;
    procedure_ = Procedure::Aging;
    procedurePasses_ = !TakeFault(faults_.failNextProcedure);
    procedureEnd_ = Now() + config_.agingFailAfterMs;
    spindleOn_ = true;
    agingLeg_ = 0;
    SimPosition up = motion_.Position();
    up[kSimAxisZ] = 0;
    motion_.Queue(up, kSimProcedureFeed, Now());
    QueueAgingLeg();
    log_.Note("aging started");
    return kSimDone;
}

void SimDrive::QueueAgingLeg() {
    const auto& corner = kAgingCorners[agingLeg_ % 4];
    const std::int32_t turn = (agingLeg_ % 2 == 0) ? 90000 : 0;
    motion_.Queue({corner[0], corner[1], 0, turn}, 3600, Now());
    ++agingLeg_;
}

std::uint8_t SimDrive::CancelProcedure() {
    if (ProcedureRunning()) EndProcedure(false, "procedure cancelled");
    return kSimDone;
}

void SimDrive::UpdateProcedure() {
    switch (procedure_) {
        case Procedure::LoadCheck:
            if (Now() >= procedureEnd_) {
                EndProcedure(!procedurePasses_,
                             procedurePasses_ ? "load check passed" : "load check failed");
            }
            break;
        case Procedure::SerialCheck:
            if (Now() >= procedureEnd_) {
                EndProcedure(!procedurePasses_, procedurePasses_ ? "serial port check passed"
                                                                 : "serial port check failed");
            }
            break;
        case Procedure::Aging:
            if (!procedurePasses_ && Now() >= procedureEnd_) {
                EndProcedure(true, "aging failed: spindle overload");
            } else if (!motion_.Moving()) {
                QueueAgingLeg();
            }
            break;
        case Procedure::None:
            break;
    }
}

void SimDrive::EndProcedure(bool failed, const std::string& why) {
    if (procedure_ == Procedure::Aging) spindleOn_ = false;
    procedure_ = Procedure::None;
    motion_.Stop(Now());
    failed_ = failed;
    log_.Note(why);
}

std::uint8_t SimDrive::CheckSerialPort() {
    if (updateMode_ || Busy()) return kSimNotReady;
    failed_ = false;
    procedure_ = Procedure::SerialCheck;
    procedurePasses_ = !TakeFault(faults_.failNextProcedure) && config_.serialLoopback;
    procedureEnd_ = Now() + config_.serialCheckMs;
    log_.Note("serial port check started");
    return kSimDone;
}

}  // namespace hw
