// Faults a test or a demonstration arms on the simulated machine. Each one
// models a way the real machine or its cable lets the console down.
#pragma once

#include <cstdint>
#include <optional>

namespace hw {

// A command as the machine numbers it: extended commands are numbered apart
// from the direct ones.
struct SimCommandNumber {
    bool extended = false;
    std::uint8_t number = 0;
};

// Where the cable is pulled: at that point of the next exchange the device is
// unplugged, once.
enum class SimUnplugAt {
    Nowhere,
    // The next data phase finds the cable already out.
    BeforeDataPhase,
    // After the next data phase, before its trigger.
    BeforeTrigger,
    // Right after the next trigger has arrived: its polls fail.
    AfterTrigger,
    // After the next poll that found the reply still pending.
    BetweenPolls,
    // After the next bulk read or write that moved data (a report or a
    // parameter block in mid-stream).
    MidStream,
    // At the next piece of a print job to the machine's queue.
    DuringPrintJob,
};

struct SimFaults {
    // Every command stays pending (its reply keeps the pending marker) while set.
    bool stopAnswering = false;
    // The next this many commands are refused with a non-zero status.
    int refuseCommands = 0;
    // The next command a technician starts is refused with a non-zero status.
    // The reads a console repeats by itself (sensors, panel keys, dial) go
    // through and leave it armed.
    bool refuseNextStartedCommand = false;
    // The command that refusal took, once it took one.
    std::optional<SimCommandNumber> refusedStartedCommand;
    // The cable is pulled once the next exchange reaches this point.
    SimUnplugAt unplugAt = SimUnplugAt::Nowhere;
    // Bulk reads: this many reads of 0 bytes before each piece that carries data.
    int emptyReadsBeforePiece = 0;
    // Bulk reads: the most bytes one read delivers (0 = as many as asked).
    std::uint32_t maxReadPiece = 0;
    // The next bulk read fails.
    bool failNextRead = false;
    // The next bulk write fails.
    bool failNextWrite = false;
    // The service report is sent without its final NUL.
    bool reportWithoutNul = false;
    // The next load check, serial-port check, aging run or parameter put fails.
    bool failNextProcedure = false;
    // The next parameter block put is taken, but stored with byte
    // kSimCorruptedPutByte changed, as a failing memory cell would keep it.
    bool corruptNextPut = false;
    // The next firmware update erases the parameter block.
    bool loseBlockAtUpdate = false;
    // After the next firmware update the machine stays off the bus until it
    // is plugged in again (switched off and on).
    bool staysAwayAfterUpdate = false;
};

// Disarms a one-shot fault; true when it was armed.
inline bool TakeFault(bool& fault) {
    const bool armed = fault;
    fault = false;
    return armed;
}

}  // namespace hw
