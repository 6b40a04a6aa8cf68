// The machine's bulk traffic: the report and the parameter block it sends,
// the parameter block and instruction text it takes, print jobs and firmware.
#include <algorithm>
#include <cstring>
#include <string>

#include "SimMachine.h"
#include "SimRequest.h"

namespace hw {

namespace {

// A firmware image opens with this signature and a NUL-terminated version text.
constexpr char kFirmwareSignature[] = "QMVFW";
constexpr std::size_t kVersionMax = 29;

}  // namespace

void SimMachine::AnnounceReport() {
    const std::string text = ReportText();
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    if (!faults_.reportWithoutNul) bytes.push_back(0);
    toHost_.Load(std::move(bytes));
    Log("report sent");
}

std::int32_t SimMachine::AnnounceBlock() {
    toHost_.Load(parameters_.Block());
    Log("parameter block sent");
    return static_cast<std::int32_t>(kSimBlockSize);
}

std::int32_t SimMachine::ExpectBlock() {
    toHost_.Clear();
    receivingBlock_ = true;
    incomingBlock_.clear();
    return static_cast<std::int32_t>(kSimBlockSize);
}

void SimMachine::AbandonPartialBlock() {
    if (!receivingBlock_) return;
    receivingBlock_ = false;
    failed_ = true;
    Log("parameter put incomplete: " + std::to_string(incomingBlock_.size()) + " of " +
        std::to_string(kSimBlockSize) + " bytes, block unchanged");
    incomingBlock_.clear();
}

void SimMachine::Disconnected() {
    toHost_.Clear();
    instructions_.Reset();
    AbandonPartialBlock();
}

bool SimMachine::BulkRead(std::uint8_t* buffer, std::uint32_t n, std::uint32_t& done) {
    return toHost_.Read(buffer, n, faults_, done);
}

bool SimMachine::BulkWrite(const std::uint8_t* data, std::uint32_t n, std::uint32_t& done) {
    done = 0;
    if (TakeFault(faults_.failNextWrite)) return false;
    std::uint32_t used = 0;
    if (receivingBlock_) {
        used = std::min<std::uint32_t>(
            n, static_cast<std::uint32_t>(kSimBlockSize - incomingBlock_.size()));
        incomingBlock_.insert(incomingBlock_.end(), data, data + used);
        if (incomingBlock_.size() == kSimBlockSize) FinishBlock();
    }
    if (used < n) {
        instructions_.Feed(data + used, n - used,
                           [this](std::string_view text) { ExecuteInstruction(text); });
    }
    done = n;
    return true;
}

void SimMachine::FinishBlock() {
    receivingBlock_ = false;
    const bool faulty = TakeFault(faults_.failNextProcedure);
    const bool replaced = !faulty && parameters_.Replace(incomingBlock_);
    failed_ = !replaced;
    Log(replaced ? "parameter block replaced" : "parameter block rejected: malformed");
    incomingBlock_.clear();
}

void SimMachine::ExecuteInstruction(std::string_view text) {
    SimInstruction instruction;
    if (!ParseInstruction(text, instruction)) return;
    if (!Ready() || ProcedureRunning() || homing_) {
        Log("instruction ignored, not ready: " + std::string(text));
        return;
    }
    const auto& m = instruction.mnemonic;
    const auto& a = instruction.args;
    if (m == "!MC" && a.size() == 1) {
        spindleOn_ = a[0] != 0;
    } else if (m == "^VS" && a.size() == 1 && a[0] > 0) {
        cutFeed_ = static_cast<std::uint32_t>(std::min(a[0], 200)) * 60;
    } else if (m == "!PZ" && !a.empty()) {
        cutDepth_ = std::clamp(-std::abs(a[0]) * 100, kSimTravel[kSimAxisZ].min, 0);
    } else if ((m == "^PU" || m == "^PD") && a.size() == 2) {
        MoveXY(a[0], a[1], m == "^PD" ? cutDepth_ : 0);
    } else if (m == "^PU" && a.empty()) {
        const SimPosition at = motion_.FinalTarget();
        MoveXY(at[kSimAxisX], at[kSimAxisY], 0);
    } else if (m == "^IN") {
        spindleOn_ = false;
    }
}

void SimMachine::MoveXY(std::int32_t x, std::int32_t y, std::int32_t z) {
    SimPosition target = motion_.FinalTarget();
    target[kSimAxisZ] = z;
    if (!SimMotion::WithinTravel(target)) return;
    motion_.Queue(target, kSimProcedureFeed, now_);
    target[kSimAxisX] = x;
    target[kSimAxisY] = y;
    if (!SimMotion::WithinTravel(target)) {
        Log("instruction ignored, outside travel");
        return;
    }
    motion_.Queue(target, cutFeed_, now_);
}

void SimMachine::ReceivePrintJob(const std::vector<std::uint8_t>& data) {
    Update();
    if (updateMode_) {
        AcceptFirmware(data);
    } else if (Ready() && !ProcedureRunning()) {
        Log("print job of " + std::to_string(data.size()) + " bytes");
        instructions_.Feed(data.data(), static_cast<std::uint32_t>(data.size()),
                           [this](std::string_view text) { ExecuteInstruction(text); });
    } else {
        Log("print job rejected: machine not ready");
    }
}

void SimMachine::AcceptFirmware(const std::vector<std::uint8_t>& data) {
    firmware_ = data;
    ++firmwareUpdates_;
    const std::size_t header = sizeof kFirmwareSignature;
    if (data.size() > header && std::memcmp(data.data(), kFirmwareSignature, header) == 0) {
        const auto first = data.begin() + static_cast<std::ptrdiff_t>(header);
        const auto last =
            first + static_cast<std::ptrdiff_t>(std::min(kVersionMax, data.size() - header));
        version_.assign(first, std::find(first, last, std::uint8_t{0}));
    }
    Log("firmware received: " + std::to_string(data.size()) + " bytes, restarting");
    updateMode_ = false;
    motion_.Place({0, 0, 0, 0});
    homed_ = config_.homedAtPowerOn;
}

std::uint8_t SimMachine::SetUpdateMode(std::uint8_t mode) {
    if (mode > 1) return kSimOutOfRange;
    if (mode == 1) {
        if (Busy()) return kSimNotReady;
        EnterUpdateMode();
    } else if (updateMode_) {
        updateMode_ = false;
        Log("update mode left");
    }
    return kSimDone;
}

void SimMachine::EnterUpdateMode() {
    Update();
    if (ProcedureRunning()) EndProcedure(false, "procedure stopped by update mode");
    motion_.Stop(now_);
    homing_ = false;
    updateMode_ = true;
    Log("firmware update mode");
}

}  // namespace hw
