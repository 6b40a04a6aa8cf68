// What the machine keeps: its parameter block and the running-time counters
// of spindle and pump, which run while the spindle turns.
#pragma once

#include <cstdint>
#include <string>

#include "sim/machine/SimConfig.h"
#include "sim/machine/SimLogbook.h"
#include "sim/machine/SimParameters.h"

namespace hw {

class SimStorage {
  public:
    SimStorage(const SimConfig& config, SimLogbook& log);

    SimParameters& Parameters() { return parameters_; }
    const SimParameters& Parameters() const { return parameters_; }
    // Reply statuses of the request layer.
    std::uint8_t WriteSerial(const std::string& serial);
    std::uint8_t SetScale(std::uint16_t axis, std::int32_t value, std::int32_t base);

    // The spindle turned for ms milliseconds.
    void SpindleRan(std::uint64_t ms);
    void ClearSpindleTime();
    void ClearPumpTime();
    std::uint32_t SpindleMinutes() const;
    std::uint32_t PumpMinutes() const;

  private:
    SimLogbook& log_;
    SimParameters parameters_;
    std::uint64_t spindleMs_;
    std::uint64_t pumpMs_;
};

}  // namespace hw
