#include "sim/machine/SimStorage.h"

#include <cmath>

#include "sim/usb/SimRequest.h"

namespace hw {

SimStorage::SimStorage(const SimConfig& config, SimLogbook& log)
    : log_(log),
      parameters_(config.serial),
      spindleMs_(std::uint64_t{config.spindleMinutes} * 60000),
      pumpMs_(std::uint64_t{config.pumpMinutes} * 60000) {}

std::uint8_t SimStorage::WriteSerial(const std::string& serial) {
    if (!parameters_.SetSerial(serial)) return kSimOutOfRange;
    log_.Note("serial number set to " + serial);
    return kSimDone;
}

std::uint8_t SimStorage::SetScale(std::uint16_t axis, std::int32_t value, std::int32_t base) {
    if (base <= 0 || axis > 2) return kSimOutOfRange;
    const double scaled = std::round(static_cast<double>(value) * kSimScaleBase / base);
    if (scaled < kSimScaleMin || scaled > kSimScaleMax) return kSimOutOfRange;
    parameters_.SetScale(axis, static_cast<std::int32_t>(scaled));
    return kSimDone;
}

void SimStorage::SpindleRan(std::uint64_t ms) {
    spindleMs_ += ms;
    pumpMs_ += ms;
}

void SimStorage::ClearSpindleTime() {
    spindleMs_ = 0;
    log_.Note("spindle time cleared");
}

void SimStorage::ClearPumpTime() {
    pumpMs_ = 0;
    log_.Note("pump time cleared");
}

std::uint32_t SimStorage::SpindleMinutes() const {
    return static_cast<std::uint32_t>(spindleMs_ / 60000);
}

std::uint32_t SimStorage::PumpMinutes() const {
    return static_cast<std::uint32_t>(pumpMs_ / 60000);
}

}  // namespace hw
