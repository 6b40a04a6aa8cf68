#include "link/DeviceLink.h"

namespace hw {

namespace {

std::uint8_t CountType(int n, std::uint8_t type) {
    return static_cast<std::uint8_t>((n & kMaxItemCount) | type);
}

}  // namespace

void DeviceLink::BeginRequest(std::uint8_t cmd, std::uint8_t countType) {
    lastCommand = cmd;
    buffer.RewindWrite();
    buffer.PutByte(cmd);
    buffer.PutByte(countType);
}

void DeviceLink::BeginExtendedRequest(std::uint8_t cmd, std::uint8_t countType, std::uint8_t sub) {
    lastCommand = kExtendedMarker;
    buffer.RewindWrite();
    buffer.PutByte(kExtendedMarker);
    buffer.PutByte(countType);
    buffer.PutByte(cmd);
    buffer.PutByte(sub);
}

bool DeviceLink::DirectFits(int n, int itemWidth, int headerBytes) const {
    return n >= 0 && n <= kMaxItemCount && n <= (packetSize - headerBytes) / itemWidth;
}

bool DeviceLink::FinishRequest(int stored, int n) {
    if (stored != n) return false;
    // Nothing of an earlier reply travels behind the items.
    buffer.ZeroRest();
    return Transact();
}

bool DeviceLink::SendBytes(std::uint8_t cmd, const std::uint8_t* data, int n) {
    if (!DirectFits(n, 1, 2)) return false;
    BeginRequest(cmd, CountType(n, kTypeBytes));
    return FinishRequest(buffer.PutBytes(data, n), n);
}

bool DeviceLink::SendByteCommand(std::uint8_t cmd, std::uint8_t value) {
    return SendBytes(cmd, &value, 1);
}

bool DeviceLink::SendCommand(std::uint8_t cmd) {
    return SendByteCommand(cmd, 0);
}

bool DeviceLink::SendValueAndBytes(std::uint8_t cmd, std::uint8_t value, const std::uint8_t* data,
                                   int n) {
    if (n < 0 || !DirectFits(n + 1, 1, 2)) return false;
    BeginRequest(cmd, CountType(n + 1, kTypeBytes));
    buffer.PutByte(value);
    return FinishRequest(buffer.PutBytes(data, n), n);
}

bool DeviceLink::SendWords(std::uint8_t cmd, const std::uint16_t* words, int n) {
    if (!DirectFits(n, 2, 2)) return false;
    BeginRequest(cmd, CountType(n, kTypeWords));
    return FinishRequest(buffer.PutWords(words, n), n);
}

bool DeviceLink::SendDwords(std::uint8_t cmd, std::uint16_t sub, const std::uint32_t* values,
                            int n) {
    if (!DirectFits(n, 4, 4)) return false;
    BeginRequest(cmd, CountType(n, kTypeDwords));
    buffer.PutWords(&sub, 1);
    return FinishRequest(buffer.PutDwords(values, n), n);
}

bool DeviceLink::SendFloats(std::uint8_t cmd, std::uint16_t sub, const float* values, int n) {
    if (!DirectFits(n, 4, 4)) return false;
    BeginRequest(cmd, CountType(n, kTypeFloats));
    buffer.PutWords(&sub, 1);
    return FinishRequest(buffer.PutFloats(values, n), n);
}

bool DeviceLink::SendExtended(std::uint8_t cmd, std::uint8_t sub) {
    return SendExtendedBytes(cmd, sub, nullptr, 0);
}

bool DeviceLink::SendExtendedBytes(std::uint8_t cmd, std::uint8_t sub, const std::uint8_t* data,
                                   int n) {
    if (n < 0 || n > kMaxItemCount) return false;
    BeginExtendedRequest(cmd, CountType(n, kTypeBytes), sub);
    return FinishRequest(buffer.PutBytes(data, n), n);
}

bool DeviceLink::SendExtendedWords(std::uint8_t cmd, std::uint8_t sub, const std::uint16_t* words,
                                   int n) {
    if (n < 0 || n > kMaxItemCount) return false;
    BeginExtendedRequest(cmd, CountType(n, kTypeWords), sub);
    return FinishRequest(buffer.PutWords(words, n), n);
}

bool DeviceLink::SendExtendedDwords(std::uint8_t cmd, std::uint8_t sub, const std::uint32_t* values,
                                    int n) {
    if (n < 0 || n > kMaxItemCount) return false;
    BeginExtendedRequest(cmd, CountType(n, kTypeDwords), sub);
    return FinishRequest(buffer.PutDwords(values, n), n);
}

}  // namespace hw
