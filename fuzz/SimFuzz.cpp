// Feeds random vendor requests, bulk reads and writes and print jobs to the
// simulated machine: it must answer anything without crashing.
#include <cstddef>
#include <cstdint>

#include "SimFuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return hw::FuzzSimulatedMachine(data, size);
}
