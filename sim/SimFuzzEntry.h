// Fuzzing entry of the simulated machine: arbitrary bytes become a sequence of
// device calls (vendor-set blocks, triggers, vendor gets, bulk reads and
// writes, device-ID queries, print jobs, unplugging, time passing) against a
// fresh simulated PC. The machine must survive any of them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace hw {

// Always returns 0, as a libFuzzer entry does.
int FuzzSimulatedMachine(const std::uint8_t* data, std::size_t size);

}  // namespace hw
