#include "sim/usb/SimRequest.h"

#include <bit>
#include <cstring>

namespace hw {

namespace {

int ItemWidth(std::uint8_t type) {
    switch (type) {
        case kSimBytes:
            return 1;
        case kSimWords:
            return 2;
        default:
            return 4;
    }
}

void PutLe32(std::uint8_t* at, std::uint32_t v) {
    for (int b = 0; b < 4; ++b) at[b] = static_cast<std::uint8_t>(v >> (8 * b));
}

}  // namespace

std::uint16_t SimRequest::Word(int i) const {
    const std::uint8_t* p = items + 2 * i;
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::int32_t SimRequest::Dword(int i) const {
    const std::uint8_t* p = items + 4 * i;
    const std::uint32_t v =
        static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
        (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    return static_cast<std::int32_t>(v);
}

bool ParseRequest(const std::uint8_t* payload, std::uint32_t length, SimRequest& request) {
    if (length < 2) return false;
    const std::uint8_t countType = payload[1];
    if ((countType & 0x80) != 0) return false;
    request = SimRequest{};
    request.type = countType & 0x60;
    request.count = countType & 0x1F;
    request.extended = payload[0] == kSimExtendedSlot;
    std::uint32_t header = 2;
    if (request.extended) {
        if (request.type == kSimFloats || length < 4) return false;
        request.command = payload[2];
        request.sub = payload[3];
        header = 4;
    } else {
        request.command = payload[0];
        if (request.type == kSimDwords || request.type == kSimFloats) {
            if (length < 4) return false;
            request.sub = static_cast<std::uint16_t>(payload[2] | (payload[3] << 8));
            header = 4;
        }
    }
    const auto bytes = static_cast<std::uint32_t>(request.count * ItemWidth(request.type));
    if (bytes > length - header) return false;
    request.items = payload + header;
    return true;
}

std::uint8_t* SimReply::Start(int n, int width, bool wide) {
    const std::uint32_t offset = extended_ || wide ? 4 : 2;
    if (n < 0 || offset + static_cast<std::uint32_t>(n * width) > capacity_) return nullptr;
    buffer_[1] = static_cast<std::uint8_t>(n);
    return buffer_ + offset;
}

void SimReply::Bytes(const std::uint8_t* data, int n) {
    if (std::uint8_t* at = Start(n, 1, false); at != nullptr && n > 0) std::memcpy(at, data, n);
}

void SimReply::Words(const std::uint16_t* data, int n) {
    std::uint8_t* at = Start(n, 2, false);
    for (int i = 0; at != nullptr && i < n; ++i) {
        at[2 * i] = static_cast<std::uint8_t>(data[i]);
        at[2 * i + 1] = static_cast<std::uint8_t>(data[i] >> 8);
    }
}

void SimReply::Dwords(const std::int32_t* data, int n) {
    std::uint8_t* at = Start(n, 4, true);
    for (int i = 0; at != nullptr && i < n; ++i)
        PutLe32(at + 4 * i, static_cast<std::uint32_t>(data[i]));
}

void SimReply::Floats(const float* data, int n) {
    std::uint8_t* at = Start(n, 4, true);
    for (int i = 0; at != nullptr && i < n; ++i)
        PutLe32(at + 4 * i, std::bit_cast<std::uint32_t>(data[i]));
}

}  // namespace hw
