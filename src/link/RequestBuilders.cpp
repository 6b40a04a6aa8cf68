#include "link/DeviceLink.h"

namespace hw {

namespace {

// Bytes in front of the items: command and count/type byte; the same with
// the 16-bit sub-code of the direct 32-bit forms; the extended form's marker,
// count/type byte, command and 8-bit sub-code.
constexpr int kShortHeader = 2;
constexpr int kLongHeader = 4;
constexpr int kExtendedHeader = 4;

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

// A request fits when its count field holds n and its header and all n items
// lie inside the payload. Counted in whole bytes, so that a header larger
// than a small payload is never mistaken for room for no items.
bool DeviceLink::Fits(int n, int itemWidth, int headerBytes) const {
    if (n < 0 || n > kMaxItemCount) return false;
    const auto needed = static_cast<std::size_t>(headerBytes + n * itemWidth);
    return needed <= buffer.PayloadSize();
}

bool DeviceLink::FinishRequest(int stored, int n) {
    if (stored != n) return false;
    // Nothing of an earlier reply travels behind the items.
    buffer.ZeroRest();
    return Transact();
}

bool DeviceLink::SendBytes(std::uint8_t cmd, const std::uint8_t* data, int n) {
    const auto lock = LockCommand();
    if (!Fits(n, 1, kShortHeader)) return false;
    BeginRequest(cmd, CountType(n, kTypeBytes));
    return FinishRequest(buffer.PutBytes(data, n), n);
}

bool DeviceLink::SendByteCommand(std::uint8_t cmd, std::uint8_t value) {
    const auto lock = LockCommand();
    return SendBytes(cmd, &value, 1);
}

bool DeviceLink::SendCommand(std::uint8_t cmd) {
    const auto lock = LockCommand();
    return SendByteCommand(cmd, 0);
}

bool DeviceLink::SendValueAndBytes(std::uint8_t cmd, std::uint8_t value, const std::uint8_t* data,
                                   int n) {
    const auto lock = LockCommand();
    if (n < 0 || n > kMaxItemCount || !Fits(n + 1, 1, kShortHeader)) return false;
    BeginRequest(cmd, CountType(n + 1, kTypeBytes));
    buffer.PutByte(value);
    return FinishRequest(buffer.PutBytes(data, n), n);
}

bool DeviceLink::SendWords(std::uint8_t cmd, const std::uint16_t* words, int n) {
    const auto lock = LockCommand();
    if (!Fits(n, 2, kShortHeader)) return false;
    BeginRequest(cmd, CountType(n, kTypeWords));
    return FinishRequest(buffer.PutWords(words, n), n);
}

bool DeviceLink::SendDwords(std::uint8_t cmd, std::uint16_t sub, const std::uint32_t* values,
                            int n) {
    const auto lock = LockCommand();
    if (!Fits(n, 4, kLongHeader)) return false;
    BeginRequest(cmd, CountType(n, kTypeDwords));
    buffer.PutWords(&sub, 1);
    return FinishRequest(buffer.PutDwords(values, n), n);
}

bool DeviceLink::SendFloats(std::uint8_t cmd, std::uint16_t sub, const float* values, int n) {
    const auto lock = LockCommand();
    if (!Fits(n, 4, kLongHeader)) return false;
    BeginRequest(cmd, CountType(n, kTypeFloats));
    buffer.PutWords(&sub, 1);
    return FinishRequest(buffer.PutFloats(values, n), n);
}

bool DeviceLink::SendExtended(std::uint8_t cmd, std::uint8_t sub) {
    const auto lock = LockCommand();
    return SendExtendedBytes(cmd, sub, nullptr, 0);
}

bool DeviceLink::SendExtendedBytes(std::uint8_t cmd, std::uint8_t sub, const std::uint8_t* data,
                                   int n) {
    const auto lock = LockCommand();
    if (!Fits(n, 1, kExtendedHeader)) return false;
    BeginExtendedRequest(cmd, CountType(n, kTypeBytes), sub);
    return FinishRequest(buffer.PutBytes(data, n), n);
}

bool DeviceLink::SendExtendedWords(std::uint8_t cmd, std::uint8_t sub, const std::uint16_t* words,
                                   int n) {
    const auto lock = LockCommand();
    if (!Fits(n, 2, kExtendedHeader)) return false;
    BeginExtendedRequest(cmd, CountType(n, kTypeWords), sub);
    return FinishRequest(buffer.PutWords(words, n), n);
}

bool DeviceLink::SendExtendedDwords(std::uint8_t cmd, std::uint8_t sub, const std::uint32_t* values,
                                    int n) {
    const auto lock = LockCommand();
    if (!Fits(n, 4, kExtendedHeader)) return false;
    BeginExtendedRequest(cmd, CountType(n, kTypeDwords), sub);
    return FinishRequest(buffer.PutDwords(values, n), n);
}

}  // namespace hw
