// The machine's state as the status command tells it: the status word and
// what its bits mean, the sensors as the console's labels show them, and the
// spindle readout.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "commands/MachineLink.h"
#include "console/checks/SpindleReadout.h"

namespace hw::cli {

struct SensorReading {
    std::string name;   // "LimitX", "Cover", ...
    std::string value;  // the label's text after '=': "ON", "__", "Open", "Close"
};

struct MachineStatus {
    std::uint16_t word = 0;
    // "ready at origin", "procedure running", "error", "failed", "busy",
    // "update mode": each bit or state the word shows.
    std::vector<std::string> meaning;
    // Empty when the sensors could not be read.
    std::vector<SensorReading> sensors;
    std::optional<SpindleTexts> spindle;
};

// What the status word's bits mean.
std::vector<std::string> StatusMeaning(std::uint16_t word);
// Nothing when the status word did not come.
std::optional<MachineStatus> ReadMachineStatus(MachineLink& link);

}  // namespace hw::cli
