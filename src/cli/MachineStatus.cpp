#include "cli/MachineStatus.h"

#include <array>

#include "console/checks/BitLabels.h"

namespace hw::cli {

std::vector<std::string> StatusMeaning(std::uint16_t word) {
    std::vector<std::string> meaning;
    if (word & kStatusReadyAtOrigin) meaning.emplace_back("ready at origin");
    const std::uint16_t state = word & kStatusStateMask;
    // State 1 shares its bit with "ready at origin": a procedure runs only
    // while the machine is busy too.
    if (state == kStateProcedureRunning && (word & kStatusBusy)) {
        meaning.emplace_back("procedure running");
    }
    if (state == kStateError) meaning.emplace_back("error");
    if (word & kStatusFailed) meaning.emplace_back("failed");
    if (word & kStatusBusy) meaning.emplace_back("busy");
    if (word & kStatusUpdateMode) meaning.emplace_back("update mode");
    return meaning;
}

std::optional<MachineStatus> ReadMachineStatus(MachineLink& link) {
    MachineStatus status;
    status.word = link.GetStatusWord();
    if (status.word == kStatusNoAnswer) return std::nullopt;
    status.meaning = StatusMeaning(status.word);
    std::array<std::uint8_t, kSensorReplyBytes> reply{};
    if (link.GetSensorBytes(reply.data(), kSensorReplyBytes) == kSensorReplyBytes) {
        for (const BitLabel& label : kSensorLabels) {
            const std::string_view text =
                (reply[label.byte] & label.mask) ? label.set : label.clear;
            const auto equals = text.find('=');
            status.sensors.push_back(
                {std::string(text.substr(0, equals)), std::string(text.substr(equals + 1))});
        }
    }
    status.spindle = ReadSpindleTexts(link);
    // The console shows Celsius over Fahrenheit; one line tells both.
    if (status.spindle) {
        for (char& c : status.spindle->temperature) c = c == '\n' ? ' ' : c;
    }
    return status;
}

}  // namespace hw::cli
