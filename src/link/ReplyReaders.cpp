#include <algorithm>

#include "link/DeviceLink.h"

namespace hw {

namespace {

// Reply offsets: items of byte and 16-bit replies to direct requests start
// behind the status and count bytes; all other items behind two more bytes.
constexpr int kShortItemsOffset = 2;
constexpr int kLongItemsOffset = 4;

}  // namespace

// Each reader runs its request, then reads the reply from the shared buffer:
// the count byte (reply offset 1) bounds the direct readers; the extended
// readers take exactly the number of items asked for.

int DeviceLink::QueryBytes(std::uint8_t cmd, std::uint8_t* out, int cap) {
    const auto lock = LockCommand();
    if (!SendBytes(cmd, nullptr, 0)) return 0;
    buffer.RewindRead();
    buffer.SkipRead(1);
    const int count = std::min<int>(buffer.GetByte(), std::max(cap, 0));
    return buffer.GetBytes(out, count);
}

int DeviceLink::QueryWords(std::uint8_t cmd, std::uint16_t* out, int cap) {
    const auto lock = LockCommand();
    if (!SendWords(cmd, nullptr, 0)) return 0;
    buffer.RewindRead();
    buffer.SkipRead(1);
    const int count = std::min<int>(buffer.GetByte(), cap);
    return buffer.GetWords(out, count);
}

int DeviceLink::QueryDwords(std::uint8_t cmd, std::uint16_t sub, std::uint32_t* out, int cap) {
    const auto lock = LockCommand();
    if (!SendDwords(cmd, sub, nullptr, 0)) return 0;
    buffer.RewindRead();
    buffer.SkipRead(1);
    const int count = std::min<int>(buffer.GetByte(), cap);
    buffer.SkipRead(kLongItemsOffset - kShortItemsOffset);
    return buffer.GetDwords(out, count);
}

int DeviceLink::QueryExtendedWords(std::uint8_t cmd, std::uint8_t sub, std::uint16_t* out, int k) {
    const auto lock = LockCommand();
    if (k < 0 || !SendExtendedWords(cmd, sub, nullptr, 0)) return -1;
    buffer.RewindRead();
    buffer.SkipRead(kLongItemsOffset);
    return buffer.GetWords(out, k) == k ? k : -1;
}

int DeviceLink::QueryExtendedDwords(std::uint8_t cmd, std::uint8_t sub, std::uint32_t* out, int k) {
    const auto lock = LockCommand();
    if (k < 0 || !SendExtendedDwords(cmd, sub, nullptr, 0)) return -1;
    buffer.RewindRead();
    buffer.SkipRead(kLongItemsOffset);
    return buffer.GetDwords(out, k) == k ? k : -1;
}

}  // namespace hw
