#include "sim/machine/SimDrive.h"

#include <algorithm>
#include <cstdlib>

#include "sim/machine/SimInstructions.h"
#include "sim/usb/SimRequest.h"

namespace hw {

namespace {

// Where the axes stand at power-on when the machine does not seek its origin.
constexpr SimPosition kPowerOnPosition{12500, 8300, -650, 17000};

}  // namespace

SimDrive::SimDrive(const SimConfig& config, SimFaults& faults, SimLogbook& log)
    : config_(config), faults_(faults), log_(log), motion_(config.lostMotion) {
    if (config.homedAtPowerOn) {
        homed_ = true;
    } else {
        motion_.Place(kPowerOnPosition);
    }
}

void SimDrive::Update() {
    motion_.Update(Now());
    if (homing_ && !motion_.Moving()) {
        homing_ = false;
        homed_ = true;
        log_.Note("origin reached");
    }
    UpdateProcedure();
}

bool SimDrive::Busy() const {
    return homing_ || motion_.Moving() || ProcedureRunning();
}

bool SimDrive::Ready() const {
    return homed_ && !error_ && !updateMode_;
}

bool SimDrive::AtOrigin() const {
    const SimPosition& p = motion_.Position();
    return homed_ && !homing_ && !motion_.Moving() &&
           std::all_of(p.begin(), p.end(), [](std::int32_t at) { return at == 0; });
}

std::uint16_t SimDrive::StatusWord() const {
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

std::uint8_t SimDrive::MoveTo(const std::int32_t* values, int count, std::uint16_t feed) {
    if (!Ready() || homing_ || ProcedureRunning()) return kSimNotReady;
    SimPosition target = motion_.Position();
    for (int i = 0; i < count && i < kSimAxes; ++i) target[i] = values[i];
    if (!SimMotion::WithinTravel(target)) return kSimOutOfRange;
    failed_ = false;
    motion_.MoveTo(target, feed, Now());
    return kSimDone;
}

std::uint8_t SimDrive::ReturnToOrigin() {
    if (updateMode_) return kSimNotReady;
    if (ProcedureRunning()) EndProcedure(false, "procedure stopped by return to origin");
    motion_.Stop(Now());
    motion_.WrapRotary();
    error_ = false;
    failed_ = false;
    homed_ = false;
    homing_ = true;
    SimPosition up = motion_.Position();
    up[kSimAxisZ] = 0;
    motion_.Queue(up, kSimHomingFeed, Now());
    motion_.Queue({0, 0, 0, 0}, kSimHomingFeed, Now());
    log_.Note("return to origin");
    return kSimDone;
}

std::uint8_t SimDrive::StopMotion() {
    if (ProcedureRunning()) EndProcedure(false, "procedure stopped by stop motion");
    motion_.Stop(Now());
    if (homing_) {
        homing_ = false;
        log_.Note("return to origin stopped");
    }
    return kSimDone;
}

void SimDrive::Execute(std::string_view text) {
    SimInstruction instruction;
    if (!ParseInstruction(text, instruction)) return;
    if (!Ready() || ProcedureRunning() || homing_) {
        log_.Note("instruction ignored, not ready: " + std::string(text));
        return;
    }
    const auto& m = instruction.mnemonic;
    const auto& a = instruction.args;
    if (m == "!MC" && a.size() == 1) {
        spindleOn_ = a[0] != 0;
    } else if (m == "^VS" && a.size() == 1 && a[0] > 0) {
        cutFeed_ = static_cast<std::uint32_t>(std::min(a[0], 200)) * 60;
    } else if (m == "!PZ" && !a.empty()) {
        // In 64 bits: any depth the text can hold, however large, bottoms out.
        const std::int64_t depth = -std::abs(std::int64_t{a[0]}) * 100;
        cutDepth_ = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(depth, kSimTravel[kSimAxisZ].min, 0));
    } else if ((m == "^PU" || m == "^PD") && a.size() == 2) {
        MoveXY(a[0], a[1], m == "^PD" ? cutDepth_ : 0);
    } else if (m == "^PU" && a.empty()) {
        const SimPosition at = motion_.FinalTarget();
        MoveXY(at[kSimAxisX], at[kSimAxisY], 0);
    } else if (m == "^IN") {
        spindleOn_ = false;
    }
}

void SimDrive::MoveXY(std::int32_t x, std::int32_t y, std::int32_t z) {
    SimPosition target = motion_.FinalTarget();
    target[kSimAxisZ] = z;
    if (!SimMotion::WithinTravel(target)) return;
    motion_.Queue(target, kSimProcedureFeed, Now());
    target[kSimAxisX] = x;
    target[kSimAxisY] = y;
    if (!SimMotion::WithinTravel(target)) {
        log_.Note("instruction ignored, outside travel");
        return;
    }
    motion_.Queue(target, cutFeed_, Now());
}

void SimDrive::RaiseError(const std::string& why) {
    motion_.Stop(Now());
    procedure_ = Procedure::None;
    homing_ = false;
    spindleOn_ = false;
    error_ = true;
    failed_ = true;
    log_.Note("error: " + why);
}

void SimDrive::EnterUpdateMode() {
    if (ProcedureRunning()) EndProcedure(false, "procedure stopped by update mode");
    motion_.Stop(Now());
    homing_ = false;
    updateMode_ = true;
    log_.Note("firmware update mode");
}

void SimDrive::LeaveUpdateMode() {
    if (!updateMode_) return;
    updateMode_ = false;
    log_.Note("update mode left");
}

void SimDrive::Restart() {
    updateMode_ = false;
    motion_.Place({0, 0, 0, 0});
    homed_ = config_.homedAtPowerOn;
}

}  // namespace hw
