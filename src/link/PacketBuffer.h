// The packet block that every request and reply shares: a 3-byte vendor
// request header followed by the payload, with write and read cursors that
// never pass the payload's end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace hw {

class PacketBuffer {
  public:
    // Largest payload a block may carry; the whole block then fills 4096 bytes.
    static constexpr std::int32_t kMaxPayload = 4093;
    static constexpr std::uint32_t kMaxRequestIndex = 7;
    static constexpr std::size_t kHeaderSize = 3;

    enum class AllocateOutcome { Done, Refused, OutOfMemory };

    // Replaces the block by a zero-filled one of 3 + size bytes whose header is
    // (0xF0 + requestIndex, 0, 0). Refused, changing nothing, when size is
    // negative or above kMaxPayload or requestIndex is above 7. On
    // OutOfMemory the block is gone.
    AllocateOutcome Allocate(std::uint32_t requestIndex, std::int32_t size);

    bool HasBlock() const { return block_ != nullptr; }
    std::uint8_t* Block() { return block_.get(); }
    const std::uint8_t* Block() const { return block_.get(); }
    std::size_t BlockSize() const { return blockSize_; }
    std::size_t PayloadSize() const { return blockSize_ == 0 ? 0 : blockSize_ - kHeaderSize; }

    void RewindWrite();
    void RewindRead();

    // Write cursor operations; see each for what is dropped at the end.
    void PutByte(std::uint8_t value);                  // dropped past the end
    int PutBytes(const std::uint8_t* data, int n);     // all n or −1
    int PutWords(const std::uint16_t* items, int n);   // count stored
    int PutDwords(const std::uint32_t* items, int n);  // count stored
    int PutFloats(const float* items, int n);          // count stored

    // Read cursor operations.
    std::uint8_t GetByte();                    // 0 past the end
    int GetBytes(std::uint8_t* out, int n);    // all n or −1
    int GetWords(std::uint16_t* out, int n);   // count read
    int GetDwords(std::uint32_t* out, int n);  // count read
    int GetFloats(float* out, int n);          // count read

    // Advances the read cursor by up to n bytes, never past the payload end.
    void SkipRead(int n);

    // Offsets of the cursors from the payload start.
    std::size_t WriteOffset() const { return static_cast<std::size_t>(write_ - PayloadStart()); }
    std::size_t ReadOffset() const { return static_cast<std::size_t>(read_ - PayloadStart()); }

    // Zero-fills the payload from the write cursor to its end.
    void ZeroRest();

  private:
    std::uint8_t* PayloadStart() const { return block_ ? block_.get() + kHeaderSize : nullptr; }
    std::uint8_t* PayloadEnd() const { return block_ ? block_.get() + blockSize_ : nullptr; }
    std::size_t WriteRoom() const { return static_cast<std::size_t>(PayloadEnd() - write_); }
    std::size_t ReadRoom() const { return static_cast<std::size_t>(PayloadEnd() - read_); }

    std::unique_ptr<std::uint8_t[]> block_;
    std::size_t blockSize_ = 0;
    std::uint8_t* write_ = nullptr;
    std::uint8_t* read_ = nullptr;
};

}  // namespace hw
