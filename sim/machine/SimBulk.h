// The machine's bulk traffic: the report and parameter block it queues for
// the host, the parameter block and instruction text it takes, print jobs,
// and the firmware it runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "sim/machine/SimDrive.h"
#include "sim/machine/SimFaults.h"
#include "sim/machine/SimInstructions.h"
#include "sim/machine/SimLogbook.h"
#include "sim/machine/SimParameters.h"
#include "sim/machine/SimStream.h"

namespace hw {

// What the machine made of the last print job it was sent: firmware taken
// in update mode, a file of instructions taken while ready, or a job it
// refused.
struct SimReceipt {
    enum class Kind { None, Firmware, File, Refused };
    Kind kind = Kind::None;
    std::size_t bytes = 0;
};

class SimBulk {
  public:
    SimBulk(std::string version, SimDrive& drive, SimParameters& parameters, SimFaults& faults,
            SimLogbook& log)
        : version_(std::move(version)),
          drive_(drive),
          parameters_(parameters),
          faults_(faults),
          log_(log) {}

    void AnnounceReport(const std::string& text);
    std::int32_t AnnounceBlock();
    std::int32_t ExpectBlock();
    // A command arrived: it ends a parameter put that has taken its block or
    // been refused; a state-changing one also ends, failed, a put that is
    // still incomplete.
    void EndParameterPut(bool stateChanging);
    bool BulkRead(std::uint8_t* buffer, std::uint32_t n, std::uint32_t& done);
    bool BulkWrite(const std::uint8_t* data, std::uint32_t n, std::uint32_t& done);
    void ReceivePrintJob(const std::vector<std::uint8_t>& data);
    // The cable was pulled: data queued for the host and partial puts are lost.
    void Disconnected();

    const std::string& Version() const { return version_; }
    const std::vector<std::uint8_t>& Firmware() const { return firmware_; }
    int FirmwareUpdates() const { return firmwareUpdates_; }
    const SimReceipt& LastReceipt() const { return lastReceipt_; }

  private:
    void TakePutBytes(const std::uint8_t* data, std::uint32_t n);
    void FinishBlock();
    void RefusePut(const std::string& why);
    void AcceptFirmware(const std::vector<std::uint8_t>& data);

    std::string version_;
    SimDrive& drive_;
    SimParameters& parameters_;
    SimFaults& faults_;
    SimLogbook& log_;

    SimStream toHost_;
    // A parameter put takes every bulk write from its announcement until a
    // command ends it (see EndParameterPut): a whole block, and not one byte
    // more, or it is refused.
    enum class Put { None, Receiving, Taken, Refused };
    Put put_ = Put::None;
    std::vector<std::uint8_t> incomingBlock_;
    std::vector<std::uint8_t> blockBeforePut_;
    SimInstructionReader instructions_;

    std::vector<std::uint8_t> firmware_;
    int firmwareUpdates_ = 0;
    SimReceipt lastReceipt_;
};

}  // namespace hw
