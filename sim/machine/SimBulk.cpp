#include "sim/machine/SimBulk.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace hw {

namespace {

// A firmware image names the version it brings in its first line,
// "version=<text>" (ended by CR, LF or NUL); the machine reports that text
// once it runs the image.
constexpr std::string_view kVersionKey = "version=";
constexpr std::size_t kVersionMax = 29;

// The version a firmware image brings; empty when its first line names none.
std::string ImageVersion(const std::vector<std::uint8_t>& data) {
    const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
    if (!text.starts_with(kVersionKey)) return {};
    const std::string_view rest = text.substr(kVersionKey.size());
    return std::string(
        rest.substr(0, std::min(kVersionMax, rest.find_first_of(std::string_view("\r\n\0", 3)))));
}

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
    if (std::string version = ImageVersion(data); !version.empty()) version_ = std::move(version);
    if (TakeFault(faults_.loseBlockAtUpdate)) {
        parameters_.Erase();
        log_.Note("parameter block lost by the update");
    }
    log_.Note("firmware received: " + std::to_string(data.size()) + " bytes, restarting");
    drive_.Restart();
}

}  // namespace hw
