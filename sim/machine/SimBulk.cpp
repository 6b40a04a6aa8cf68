// The machine's bulk traffic: the report and the parameter block it sends,
// the parameter block and instruction text it takes, print jobs and firmware.
#include <algorithm>
#include <cstring>
#include <string>

#include "sim/machine/SimMachine.h"
#include "sim/usb/SimRequest.h"

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
    put_ = Put::Receiving;
    incomingBlock_.clear();
    return static_cast<std::int32_t>(kSimBlockSize);
}

void SimMachine::EndParameterPut(bool stateChanging) {
    if (put_ == Put::Receiving) {
        if (!stateChanging) return;
        failed_ = true;
        Log("parameter put incomplete: " + std::to_string(incomingBlock_.size()) + " of " +
            std::to_string(kSimBlockSize) + " bytes, block unchanged");
    }
    put_ = Put::None;
    incomingBlock_.clear();
    blockBeforePut_.clear();
}

void SimMachine::Disconnected() {
    toHost_.Clear();
    instructions_.Reset();
    EndParameterPut(true);
}

bool SimMachine::BulkRead(std::uint8_t* buffer, std::uint32_t n, std::uint32_t& done) {
    return toHost_.Read(buffer, n, faults_, done);
}

bool SimMachine::BulkWrite(const std::uint8_t* data, std::uint32_t n, std::uint32_t& done) {
    done = 0;
    if (TakeFault(faults_.failNextWrite)) return false;
    if (put_ == Put::None) {
        instructions_.Feed(data, n, [this](std::string_view text) { ExecuteInstruction(text); });
    } else {
        TakePutBytes(data, n);
    }
    done = n;
    return true;
}

// Bytes of a put are never instructions: whatever arrives past the block
// refuses the whole put, a block already taken included.
void SimMachine::TakePutBytes(const std::uint8_t* data, std::uint32_t n) {
    switch (put_) {
        case Put::Receiving:
            if (incomingBlock_.size() + n > kSimBlockSize) {
                RefusePut("longer than the block");
                return;
            }
            incomingBlock_.insert(incomingBlock_.end(), data, data + n);
            if (incomingBlock_.size() == kSimBlockSize) FinishBlock();
            break;
        case Put::Taken:
            if (n == 0) return;
            parameters_.Replace(blockBeforePut_);
            RefusePut("longer than the block, block restored");
            break;
        case Put::Refused:
        case Put::None:
            break;
    }
}

void SimMachine::FinishBlock() {
    const bool faulty = TakeFault(faults_.failNextProcedure);
    if (faulty || !SimParameters::WellFormed(incomingBlock_)) {
        RefusePut("malformed");
        return;
    }
    blockBeforePut_ = parameters_.Block();
    parameters_.Replace(incomingBlock_);
    put_ = Put::Taken;
    failed_ = false;
    Log("parameter block replaced");
    if (TakeFault(faults_.corruptNextPut)) {
        parameters_.CorruptByte(kSimCorruptedPutByte);
        Log("parameter block stored with byte " + std::to_string(kSimCorruptedPutByte) +
            " corrupted");
    }
    incomingBlock_.clear();
}

void SimMachine::RefusePut(const std::string& why) {
    put_ = Put::Refused;
    failed_ = true;
    Log("parameter block rejected: " + why);
    incomingBlock_.clear();
    blockBeforePut_.clear();
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
        lastReceipt_ = {SimReceipt::Kind::Firmware, data.size()};
        AcceptFirmware(data);
    } else if (Ready() && !ProcedureRunning()) {
        lastReceipt_ = {SimReceipt::Kind::File, data.size()};
        Log("print job of " + std::to_string(data.size()) + " bytes");
        instructions_.Feed(data.data(), static_cast<std::uint32_t>(data.size()),
                           [this](std::string_view text) { ExecuteInstruction(text); });
    } else {
        lastReceipt_ = {SimReceipt::Kind::Refused, data.size()};
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
