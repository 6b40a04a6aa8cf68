// The spindle's temperature and current as the console shows them.
#pragma once

#include <cstdint>
#include <string>

namespace hw {

// The temperature in whole degrees Celsius of the machine's raw analog word:
// its low 15 bits v give 142 + floor(-9054 v / 65536).
int SpindleCelsius(std::uint16_t raw);
// "%dC\n%dF": Celsius over Fahrenheit, the latter 9C/5 truncated toward zero
// plus 32.
std::string SpindleTemperatureText(std::uint16_t raw);
// "%.1fA".
std::string SpindleCurrentText(float amperes);

}  // namespace hw
