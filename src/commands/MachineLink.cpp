#include "commands/MachineLink.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace hw {

namespace {

// Direct command numbers.
constexpr std::uint8_t kCmdStatusWord = 1;
constexpr std::uint8_t kCmdVersion = 2;
constexpr std::uint8_t kCmdPosition = 3;
constexpr std::uint8_t kCmdOrigin = 8;
constexpr std::uint8_t kCmdStopMotion = 9;
constexpr std::uint8_t kCmdPanelKeys = 16;
constexpr std::uint8_t kCmdSensors = 17;
constexpr std::uint8_t kCmdDialCounter = 18;
constexpr std::uint8_t kCmdPanelText = 20;
constexpr std::uint8_t kCmdMeterRead = 50;
constexpr std::uint8_t kCmdMove = 64;
constexpr std::uint8_t kCmdPanelMode = 96;
constexpr std::uint8_t kCmdSerialNumber = 98;
constexpr std::uint8_t kCmdScale = 99;
constexpr std::uint8_t kCmdMeterSelect = 103;

// Extended command numbers.
constexpr std::uint8_t kExtPanelOperation = 50;
constexpr std::uint8_t kExtAnalog = 51;
constexpr std::uint8_t kExtLaserOffsetGet = 59;
constexpr std::uint8_t kExtY0OffsetGet = 61;
constexpr std::uint8_t kExtLoadCheck = 113;
constexpr std::uint8_t kExtAging = 114;
constexpr std::uint8_t kExtClearSpindle = 116;
constexpr std::uint8_t kExtSerialPort = 119;
constexpr std::uint8_t kExtY0OffsetSet = 130;
constexpr std::uint8_t kExtLaserOffsetSet = 131;
constexpr std::uint8_t kExtClearPump = 135;

// The byte of command 8 that cancels the running procedure.
constexpr std::uint8_t kOriginCancel = 2;
// The byte of command 103 that deselects every meter channel.
constexpr std::uint8_t kMeterNone = 0xFF;
// Time bytes of the panel text: shown without a time limit, and the longest
// timed display (in tens of milliseconds).
constexpr std::uint8_t kPanelTextUntimed = 254;
constexpr int kPanelTextLongest = 250;

// Signed and unsigned 32-bit integers share one representation, so the
// signed buffers of the catalogue are handed to the unsigned readers as is.
std::uint32_t* AsUnsigned(std::int32_t* values) {
    return reinterpret_cast<std::uint32_t*>(values);
}
const std::uint32_t* AsUnsigned(const std::int32_t* values) {
    return reinterpret_cast<const std::uint32_t*>(values);
}

}  // namespace

std::uint16_t MachineLink::GetStatusWord() {
    std::uint16_t word = 0;
    return QueryWords(kCmdStatusWord, &word, 1) == 1 ? word : kStatusNoAnswer;
}

bool MachineLink::GetVersionString(char* text, int capacity) {
    const int copied = QueryBytes(kCmdVersion, reinterpret_cast<std::uint8_t*>(text), capacity);
    if (copied < 1) return false;
    text[copied - 1] = '\0';
    return true;
}

int MachineLink::GetPosition(std::int32_t* values, int capacity) {
    return QueryDwords(kCmdPosition, 1, AsUnsigned(values), capacity);
}

bool MachineLink::ReturnToOrigin(int flag) {
    return SendByteCommand(kCmdOrigin, flag != 0 ? 1 : 0);
}

bool MachineLink::CancelProcedure() {
    return SendByteCommand(kCmdOrigin, kOriginCancel);
}

bool MachineLink::StopMotion() {
    return SendCommand(kCmdStopMotion);
}

int MachineLink::GetPanelKeys(std::uint8_t* bytes, int capacity) {
    return QueryBytes(kCmdPanelKeys, bytes, capacity);
}

int MachineLink::GetSensorBytes(std::uint8_t* bytes, int capacity) {
    return QueryBytes(kCmdSensors, bytes, capacity);
}

int MachineLink::GetDialCounter(std::int32_t* values, int capacity) {
    return QueryDwords(kCmdDialCounter, 0, AsUnsigned(values), capacity);
}

// 0 asks for the untimed display. Any other time is sent in tens of
// milliseconds, at least 1 and at most 250; a negative time, which no caller
// means, continues the rule for 1 to 9 ms and gives the shortest display.
std::uint8_t MachineLink::PanelTextTimeByte(int timeMs) {
    if (timeMs == 0) return kPanelTextUntimed;
    const int tens = timeMs / 10;
    return static_cast<std::uint8_t>(std::clamp(tens, 1, kPanelTextLongest));
}

bool MachineLink::ShowPanelText(const char* text, int length, int timeMs) {
    if (length < 0) return false;
    return SendValueAndBytes(kCmdPanelText, PanelTextTimeByte(timeMs),
                             reinterpret_cast<const std::uint8_t*>(text), length);
}

int MachineLink::ReadMeterChannel(float* values, int capacity) {
    const auto lock = LockCommand();
    if (selection < 0) return -1;
    if (!SendFloats(kCmdMeterRead, static_cast<std::uint16_t>(selection), nullptr, 0)) return -1;
    buffer.RewindRead();
    buffer.GetByte();  // status
    const int count = buffer.GetByte();
    buffer.SkipRead(2);  // bytes 2 and 3 of a float reply carry nothing
    return buffer.GetFloats(values, std::clamp(capacity, 0, count));
}

bool MachineLink::MoveToPosition(const std::int32_t* values, int count, std::uint16_t parameter) {
    return SendDwords(kCmdMove, parameter, AsUnsigned(values), count);
}

bool MachineLink::SetPanelMode(std::uint8_t mode) {
    return SendByteCommand(kCmdPanelMode, mode);
}

bool MachineLink::WriteSerialNumber(const char* text) {
    if (text == nullptr) return false;
    const std::size_t length = std::strlen(text);
    if (length >= INT_MAX) return false;
    return SendBytes(kCmdSerialNumber, reinterpret_cast<const std::uint8_t*>(text),
                     static_cast<int>(length) + 1);
}

bool MachineLink::SetScaleCorrection(std::uint16_t axis, std::int32_t value, std::int32_t base) {
    const std::int32_t items[] = {value, base};
    return SendDwords(kCmdScale, axis, AsUnsigned(items), 2);
}

bool MachineLink::SelectMeterChannel(int meterChannel, int enable) {
    const auto lock = LockCommand();
    selection = meterChannel;
    const auto sent = enable != 0 ? static_cast<std::uint8_t>(meterChannel & 0xFF) : kMeterNone;
    return SendByteCommand(kCmdMeterSelect, sent);
}

bool MachineLink::SetPanelOperation(int flag) {
    return SendExtended(kExtPanelOperation, flag != 0 ? 1 : 0);
}

int MachineLink::GetAnalogValues(std::uint16_t* words, int k) {
    return QueryExtendedWords(kExtAnalog, 1, words, k);
}

bool MachineLink::GetLaserOffset(std::int32_t* xy) {
    return QueryExtendedDwords(kExtLaserOffsetGet, 0, AsUnsigned(xy), 2) == 2;
}

bool MachineLink::GetY0Offset(std::int32_t* offset) {
    return QueryExtendedDwords(kExtY0OffsetGet, 0, AsUnsigned(offset), 1) == 1;
}

bool MachineLink::StartLoadCheck(std::uint8_t axisCode, const std::uint16_t* power) {
    return SendExtendedWords(kExtLoadCheck, axisCode, power, 1);
}

bool MachineLink::StartAging() {
    return SendExtended(kExtAging, 1);
}

bool MachineLink::ClearSpindleTime() {
    return SendExtended(kExtClearSpindle, 0);
}

bool MachineLink::CheckSerialPort() {
    return SendExtended(kExtSerialPort, 0);
}

bool MachineLink::SetY0Offset(const std::int32_t* offset) {
    return SendExtendedDwords(kExtY0OffsetSet, 0, AsUnsigned(offset), 1);
}

bool MachineLink::SetLaserOffset(const std::int32_t* xy) {
    return SendExtendedDwords(kExtLaserOffsetSet, 0, AsUnsigned(xy), 2);
}

bool MachineLink::ClearPumpTime() {
    return SendExtended(kExtClearPump, 0);
}

}  // namespace hw
