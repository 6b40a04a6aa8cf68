#include "sim/machine/SimBulk.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace hw {

namespace {

// A firmware image opens with this signature and a NUL-terminated version text.
constexpr char kFirmwareSignature[] = "QMVFW";
constexpr std::size_t kVersionMax = 29;

}  // namespace

void SimBulk::AnnounceReport(const std::string& text) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    if (!faults_.reportWithoutNul) bytes.push_back(0);
    toHost_.Load(std::move(bytes));
    log_.Note("report sent");
}

std::int32_t SimBulk::AnnounceBlock() {
    toHost_.Load(parameters_.Block());
    log_.Note("parameter block sent");
    return static_cast<std::int32_t>(kSimBlockSize);
}

std::int32_t SimBulk::ExpectBlock() {
    toHost_.Clear();
    put_ = Put::Receiving;
    incomingBlock_.clear();
    return static_cast<std::int32_t>(kSimBlockSize);
}

void SimBulk::EndParameterPut(bool stateChanging) {
    if (put_ == Put::Receiving) {
        if (!stateChanging) return;
        drive_.SetFailed(true);
        log_.Note("parameter put incomplete: " + std::to_string(incomingBlock_.size()) + " of " +
                  std::to_string(kSimBlockSize) + " bytes, block unchanged");
    }
    put_ = Put::None;
    incomingBlock_.clear();
    blockBeforePut_.clear();
}

void SimBulk::Disconnected() {
    toHost_.Clear();
    instructions_.Reset();
    EndParameterPut(true);
}

bool SimBulk::BulkRead(std::uint8_t* buffer, std::uint32_t n, std::uint32_t& done) {
    return toHost_.Read(buffer, n, faults_, done);
}

bool SimBulk::BulkWrite(const std::uint8_t* data, std::uint32_t n, std::uint32_t& done) {
    done = 0;
    if (TakeFault(faults_.failNextWrite)) return false;
    if (put_ == Put::None) {
        instructions_.Feed(data, n, [this](std::string_view text) { drive_.Execute(text); });
    } else {
        TakePutBytes(data, n);
    }
    done = n;
    return true;
}

// Bytes of a put are never instructions: whatever arrives past the block
// refuses the whole put, a block already taken included.
void SimBulk::TakePutBytes(const std::uint8_t* data, std::uint32_t n) {
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

void SimBulk::FinishBlock() {
    const bool faulty = TakeFault(faults_.failNextProcedure);
    if (faulty || !SimParameters::WellFormed(incomingBlock_)) {
        RefusePut("malformed");
        return;
    }
    blockBeforePut_ = parameters_.Block();
    parameters_.Replace(incomingBlock_);
    put_ = Put::Taken;
    drive_.SetFailed(false);
    log_.Note("parameter block replaced");
    if (TakeFault(faults_.corruptNextPut)) {
        parameters_.CorruptByte(kSimCorruptedPutByte);
        log_.Note("parameter block stored with byte " + std::to_string(kSimCorruptedPutByte) +
                  " corrupted");
    }
    incomingBlock_.clear();
}

void SimBulk::RefusePut(const std::string& why) {
    put_ = Put::Refused;
    drive_.SetFailed(true);
    log_.Note("parameter block rejected: " + why);
    incomingBlock_.clear();
    blockBeforePut_.clear();
}

void SimBulk::ReceivePrintJob(const std::vector<std::uint8_t>& data) {
    if (drive_.UpdateMode()) {
        lastReceipt_ = {SimReceipt::Kind::Firmware, data.size()};
        AcceptFirmware(data);
    } else if (drive_.Ready() && !drive_.ProcedureRunning()) {
        lastReceipt_ = {SimReceipt::Kind::File, data.size()};
        log_.Note("print job of " + std::to_string(data.size()) + " bytes");
        instructions_.Feed(data.data(), static_cast<std::uint32_t>(data.size()),
                           [this](std::string_view text) { drive_.Execute(text); });
    } else {
        lastReceipt_ = {SimReceipt::Kind::Refused, data.size()};
        log_.Note("print job rejected: machine not ready");
    }
}

void SimBulk::AcceptFirmware(const std::vector<std::uint8_t>& data) {
    firmware_ = data;
    ++firmwareUpdates_;
    const std::size_t header = sizeof kFirmwareSignature;
    if (data.size() > header && std::memcmp(data.data(), kFirmwareSignature, header) == 0) {
        const auto first = data.begin() + static_cast<std::ptrdiff_t>(header);
        const auto last =
            first + static_cast<std::ptrdiff_t>(std::min(kVersionMax, data.size() - header));
        version_.assign(first, std::find(first, last, std::uint8_t{0}));
    }
    log_.Note("firmware received: " + std::to_string(data.size()) + " bytes, restarting");
    drive_.Restart();
}

}  // namespace hw
