// The spindle's temperature and current as the console shows them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "commands/MachineLink.h"

namespace hw {

// The temperature in whole degrees Celsius of the machine's raw analog word:
// its low 15 bits v give 142 + floor(-9054 v / 65536).
int SpindleCelsius(std::uint16_t raw);
// "%dC\n%dF": Celsius over Fahrenheit, the latter 9C/5 truncated toward zero
// plus 32.
std::string SpindleTemperatureText(std::uint16_t raw);
// "%.1fA".
std::string SpindleCurrentText(float amperes);

// The two texts as read from the machine; a value that was not read is
// empty.
struct SpindleTexts {
    std::string temperature;
    std::string current;
};
// Reads the temperature, then selects meter channel 0 and reads the
// current; nothing when the channel cannot be selected.
std::optional<SpindleTexts> ReadSpindleTexts(MachineLink& link);

}  // namespace hw
