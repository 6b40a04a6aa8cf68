#include "sim/usb/SimController.h"

#include <algorithm>
#include <cstring>

#include "sim/usb/SimCommands.h"

namespace hw {

namespace {

// The reads a console repeats by itself while it shows the machine: panel
// keys (16), sensors (17) and dial (18).
bool IsRepeatedRead(const SimRequest& request) {
    return !request.extended && request.command >= 16 && request.command <= 18;
}

// Takes the armed refusal of a started command when request is one.
bool TakeStartedCommandFault(SimFaults& faults, const SimRequest& request) {
    if (!faults.refuseNextStartedCommand || IsRepeatedRead(request)) return false;
    faults.refuseNextStartedCommand = false;
    faults.refusedStartedCommand = SimCommandNumber{request.extended, request.command};
    return true;
}

}  // namespace

SimController::SimController(SimClock& clock, const SimConfig& config)
    : machine_(clock, config, faults_) {}

bool SimController::IsRequestHeader(const std::uint8_t* header) {
    return (header[0] & 0xF8) == 0xF0 && header[1] == 0 && header[2] == 0;
}

bool SimController::VendorSet(const std::uint8_t* block, std::uint32_t length) {
    if (block == nullptr || length < kSimTriggerLength || length > kSimMaxBlock) return false;
    if (!IsRequestHeader(block)) return false;
    machine_.Update();
    if (length == kSimTriggerLength) {
        Trigger(block[3]);
    } else {
        requestLength_ = length - 3;
        std::memcpy(request_.data(), block + 3, requestLength_);
        haveRequest_ = true;
    }
    return true;
}

void SimController::Trigger(std::uint8_t slot) {
    ++commands_;
    executing_ = true;
    replyHeld_ = false;
    slot_ = slot;
    readyAt_ = machine_.Now() + 1;
    refuse_ = faults_.refuseCommands > 0;
    if (refuse_) --faults_.refuseCommands;
    if (!refuse_ && haveRequest_) {
        request_[0] = slot;
        SimRequest request;
        if (ParseRequest(request_.data(), requestLength_, request)) {
            refuse_ = TakeStartedCommandFault(faults_, request);
            const SimCommand* command = FindCommand(request);
            if (!refuse_ && command != nullptr) readyAt_ += command->executeMs;
        }
    }
    // A refused request is gone: a later trigger alone must not run it.
    if (refuse_) haveRequest_ = false;
}

void SimController::Complete() {
    executing_ = false;
    reply_.fill(0);
    std::uint8_t status = kSimNoRequest;
    if (refuse_) {
        status = kSimRefused;
    } else if (haveRequest_) {
        haveRequest_ = false;
        SimRequest request;
        SimReply reply(reply_.data(), requestLength_, request_[0] == kSimExtendedSlot);
        status = ParseRequest(request_.data(), requestLength_, request)
                     ? ExecuteCommand(machine_, request, reply)
                     : kSimMalformed;
        replyHeld_ = status == kSimDone && machine_.HoldsReply();
        if (status != kSimDone) reply_[1] = 0;
    }
    // A refusal must never read as the pending marker.
    if (status != kSimDone && status == slot_) status = static_cast<std::uint8_t>(status ^ 0x10);
    reply_[0] = status;
}

bool SimController::VendorGet(const std::uint8_t* header, std::uint32_t headerLength,
                              std::uint8_t* out, std::uint32_t outLength, std::uint32_t& returned) {
    returned = 0;
    if (header == nullptr || headerLength < 3 || !IsRequestHeader(header)) return false;
    if (out == nullptr && outLength != 0) return false;
    machine_.Update();
    if (executing_ && !faults_.stopAnswering && machine_.Now() >= readyAt_) Complete();
    const bool pending = ReplyPending();
    const std::uint32_t n = std::min(outLength, kSimMaxPayload);
    if (outLength == 0) return true;
    if (pending) {
        std::memset(out, 0, outLength);
        out[0] = slot_;
    } else {
        std::memcpy(out, reply_.data(), n);
        std::memset(out + n, 0, outLength - n);
    }
    returned = outLength;
    return true;
}

bool SimController::QueryDeviceId(std::uint8_t* out, std::uint32_t outLength,
                                  std::uint32_t& returned) {
    returned = 0;
    const std::string text = machine_.DeviceId();
    const auto total = static_cast<std::uint32_t>(text.size() + 2);
    if (out == nullptr || outLength < total) return false;
    out[0] = static_cast<std::uint8_t>(total >> 8);
    out[1] = static_cast<std::uint8_t>(total);
    std::memcpy(out + 2, text.data(), text.size());
    returned = total;
    return true;
}

bool SimController::BulkRead(std::uint8_t* buffer, std::uint32_t n, std::uint32_t& done) {
    done = 0;
    if (buffer == nullptr && n != 0) return false;
    machine_.Update();
    return machine_.BulkRead(buffer, n, done);
}

bool SimController::BulkWrite(const std::uint8_t* data, std::uint32_t n, std::uint32_t& done) {
    done = 0;
    if (data == nullptr && n != 0) return false;
    machine_.Update();
    return machine_.BulkWrite(data, n, done);
}

void SimController::ReceivePrintJob(const std::vector<std::uint8_t>& data) {
    machine_.ReceivePrintJob(data);
}

void SimController::Disconnected() {
    executing_ = false;
    replyHeld_ = false;
    haveRequest_ = false;
    reply_.fill(0);
    machine_.Disconnected();
}

}  // namespace hw
