// The machine's command table: which commands it knows, the request form each
// takes, how long each takes to execute, and what each does.
#pragma once

#include <cstdint>

#include "sim/machine/SimMachine.h"
#include "sim/usb/SimRequest.h"

namespace hw {

struct SimCommand {
    bool extended;
    std::uint8_t number;
    std::uint8_t type;
    std::uint8_t minCount;
    std::uint8_t maxCount;
    // Milliseconds the command takes before its reply is ready.
    std::uint32_t executeMs;
    // Reads state only: does not end a parameter put that is still incomplete.
    bool query;
    std::uint8_t (*run)(SimMachine& machine, const SimRequest& request, SimReply& reply);
};

// The table entry for a request's command, or null when the machine does not
// know it.
const SimCommand* FindCommand(const SimRequest& request);

// Runs a parsed request: checks its form against the table, then executes it.
// Returns the reply status.
std::uint8_t ExecuteCommand(SimMachine& machine, const SimRequest& request, SimReply& reply);

}  // namespace hw
