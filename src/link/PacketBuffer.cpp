#include "link/PacketBuffer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

namespace hw {

namespace {

void StoreLittleEndian(std::uint8_t* at, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t LoadLittleEndian(const std::uint8_t* at, int width) {
    std::uint32_t value = 0;
    for (int i = 0; i < width; ++i) value |= static_cast<std::uint32_t>(at[i]) << (8 * i);
    return value;
}

}  // namespace

PacketBuffer::AllocateOutcome PacketBuffer::Allocate(std::uint32_t requestIndex,
                                                     std::int32_t size) {
    if (size < 0 || size > kMaxPayload || requestIndex > kMaxRequestIndex) {
        return AllocateOutcome::Refused;
    }
    block_.reset();
    blockSize_ = 0;
    write_ = read_ = nullptr;
    const std::size_t total = kHeaderSize + static_cast<std::size_t>(size);
    block_.reset(new (std::nothrow) std::uint8_t[total]());
    if (!block_) return AllocateOutcome::OutOfMemory;
    blockSize_ = total;
    block_[0] = static_cast<std::uint8_t>(0xF0 + requestIndex);
    // The cursors must never point into a freed block: start them at the payload.
    write_ = read_ = PayloadStart();
    return AllocateOutcome::Done;
}

void PacketBuffer::RewindWrite() {
    if (PayloadStart() < PayloadEnd()) write_ = PayloadStart();
}

void PacketBuffer::RewindRead() {
    if (PayloadStart() < PayloadEnd()) read_ = PayloadStart();
}

void PacketBuffer::PutByte(std::uint8_t value) {
    if (write_ < PayloadEnd()) *write_++ = value;
}

int PacketBuffer::PutBytes(const std::uint8_t* data, int n) {
    if (n < 0 || static_cast<std::size_t>(n) > WriteRoom()) return -1;
    if (n != 0) std::memcpy(write_, data, static_cast<std::size_t>(n));
    write_ += n;
    return n;
}

int PacketBuffer::PutWords(const std::uint16_t* items, int n) {
    int stored = 0;
    for (; stored < n && WriteRoom() >= 2; ++stored, write_ += 2) {
        StoreLittleEndian(write_, items[stored], 2);
    }
    return stored;
}

int PacketBuffer::PutDwords(const std::uint32_t* items, int n) {
    int stored = 0;
    for (; stored < n && WriteRoom() >= 4; ++stored, write_ += 4) {
        StoreLittleEndian(write_, items[stored], 4);
    }
    return stored;
}

int PacketBuffer::PutFloats(const float* items, int n) {
    int stored = 0;
    for (; stored < n && WriteRoom() >= 4; ++stored, write_ += 4) {
        StoreLittleEndian(write_, std::bit_cast<std::uint32_t>(items[stored]), 4);
    }
    return stored;
}

std::uint8_t PacketBuffer::GetByte() {
    if (read_ < PayloadEnd()) return *read_++;
    return 0;
}

void PacketBuffer::SkipRead(int n) {
    if (n > 0) read_ += std::min(static_cast<std::size_t>(n), ReadRoom());
}

int PacketBuffer::GetBytes(std::uint8_t* out, int n) {
    if (n < 0 || static_cast<std::size_t>(n) > ReadRoom()) return -1;
    if (n != 0) std::memcpy(out, read_, static_cast<std::size_t>(n));
    read_ += n;
    return n;
}

int PacketBuffer::GetWords(std::uint16_t* out, int n) {
    int count = 0;
    for (; count < n && ReadRoom() >= 2; ++count, read_ += 2) {
        out[count] = static_cast<std::uint16_t>(LoadLittleEndian(read_, 2));
    }
    return count;
}

int PacketBuffer::GetDwords(std::uint32_t* out, int n) {
    int count = 0;
    for (; count < n && ReadRoom() >= 4; ++count, read_ += 4) {
        out[count] = LoadLittleEndian(read_, 4);
    }
    return count;
}

int PacketBuffer::GetFloats(float* out, int n) {
    int count = 0;
    for (; count < n && ReadRoom() >= 4; ++count, read_ += 4) {
        out[count] = std::bit_cast<float>(LoadLittleEndian(read_, 4));
    }
    return count;
}

void PacketBuffer::ZeroRest() {
    if (write_ < PayloadEnd()) std::memset(write_, 0, WriteRoom());
}

}  // namespace hw
