// The machine's USB controller: takes vendor-set blocks (a data phase with
// the whole payload, then a 4-byte trigger with the command byte), executes
// the command, and answers vendor-get requests with the pending marker until
// the reply is ready. Also serves the bulk endpoints, the device-ID query and
// print jobs, all handed to the machine behind it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "sim/machine/SimConfig.h"
#include "sim/machine/SimFaults.h"
#include "sim/machine/SimMachine.h"
#include "sim/pc/SimClock.h"
#include "sim/usb/SimRequest.h"

namespace hw {

// Smallest and largest vendor-set block: header and command slot, up to a
// payload of kSimMaxPayload.
inline constexpr std::uint32_t kSimTriggerLength = 4;
inline constexpr std::uint32_t kSimMaxBlock = 3 + kSimMaxPayload;

class SimController {
  public:
    SimController(SimClock& clock, const SimConfig& config = {});
    SimController(const SimController&) = delete;
    SimController& operator=(const SimController&) = delete;

    // Vendor-set request: a data phase or a trigger. False when the block is no
    // vendor request of this device (bad code or value, bad length).
    bool VendorSet(const std::uint8_t* block, std::uint32_t length);
    // Vendor-get request: header holds the 3-byte request; the reply payload
    // goes to out (outLength bytes, zero-filled past the reply).
    bool VendorGet(const std::uint8_t* header, std::uint32_t headerLength, std::uint8_t* out,
                   std::uint32_t outLength, std::uint32_t& returned);
    // The IEEE 1284 device ID: a big-endian 16-bit length, then the text.
    bool QueryDeviceId(std::uint8_t* out, std::uint32_t outLength, std::uint32_t& returned);
    bool BulkRead(std::uint8_t* buffer, std::uint32_t n, std::uint32_t& done);
    bool BulkWrite(const std::uint8_t* data, std::uint32_t n, std::uint32_t& done);
    void ReceivePrintJob(const std::vector<std::uint8_t>& data);
    // The cable was pulled: the exchange in flight and queued bulk data are lost.
    void Disconnected();

    SimMachine& Machine() { return machine_; }
    const SimMachine& Machine() const { return machine_; }
    SimFaults& Faults() { return faults_; }
    // The last trigger's reply is not ready yet: polls get the pending marker.
    bool ReplyPending() const { return executing_ || (replyHeld_ && machine_.HoldsReply()); }
    // Number of commands triggered so far.
    std::uint64_t Commands() const { return commands_; }

  private:
    static bool IsRequestHeader(const std::uint8_t* header);
    void Trigger(std::uint8_t slot);
    void Complete();

    SimFaults faults_;
    SimMachine machine_;

    std::array<std::uint8_t, kSimMaxPayload> request_{};
    std::uint32_t requestLength_ = 0;
    bool haveRequest_ = false;

    bool executing_ = false;
    std::uint8_t slot_ = 0;
    std::uint64_t readyAt_ = 0;
    bool refuse_ = false;
    // The command ran and its reply waits for the machine to finish it.
    bool replyHeld_ = false;
    std::array<std::uint8_t, kSimMaxPayload> reply_{};
    std::uint64_t commands_ = 0;
};

}  // namespace hw
