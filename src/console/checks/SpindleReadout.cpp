// Read (spindle): the temperature from the machine's analog values and the
// current from meter channel 0.
#include "console/checks/SpindleReadout.h"

#include <cstdio>

#include "console/calibration/FixedDecimal.h"

namespace hw {

namespace {

constexpr int kAnalogCount = 8;
constexpr int kTemperatureIndex = 4;
constexpr std::uint16_t kTemperatureBits = 0x7FFF;
constexpr int kCurrentChannel = 0;

}  // namespace

int SpindleCelsius(std::uint16_t raw) {
    const int scaled = -9054 * (raw & kTemperatureBits);
    // Division rounding toward minus infinity.
    int quotient = scaled / 65536;
    if (scaled % 65536 != 0 && scaled < 0) --quotient;
    return 142 + quotient;
}

std::string SpindleTemperatureText(std::uint16_t raw) {
    const int celsius = SpindleCelsius(raw);
    const int fahrenheit = 9 * celsius / 5 + 32;
    char text[32];
    std::snprintf(text, sizeof text, "%dC\n%dF", celsius, fahrenheit);
    return text;
}

std::string SpindleCurrentText(float amperes) {
    return FixedText(amperes, 1) + "A";
}

std::optional<SpindleTexts> ReadSpindleTexts(MachineLink& link) {
    SpindleTexts texts;
    std::uint16_t analog[kAnalogCount] = {};
    if (link.GetAnalogValues(analog, kAnalogCount) == kAnalogCount)
        texts.temperature = SpindleTemperatureText(analog[kTemperatureIndex]);
    if (!link.SelectMeterChannel(kCurrentChannel, 1)) return std::nullopt;
    float amperes = 0;
    if (link.ReadMeterChannel(&amperes, 1) == 1) texts.current = SpindleCurrentText(amperes);
    return texts;
}

}  // namespace hw
