// The machine's parameter block: 2500 bytes that hold its serial number, scale
// corrections, offsets, travel, feeds and compensation tables, closed by a
// CRC-32. The machine keeps these settings only here, so a block read out and
// written back restores them exactly.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace hw {

inline constexpr std::uint32_t kSimBlockSize = 2500;
// The byte a corrupted put changes (the corruptNextPut fault).
inline constexpr std::size_t kSimCorruptedPutByte = 1250;
inline constexpr std::uint16_t kSimBlockFormat = 1;
// Scale corrections are stored per 100000; the machine takes 90 % to 110 %.
inline constexpr std::int32_t kSimScaleBase = 100000;
inline constexpr std::int32_t kSimScaleMin = 90000;
inline constexpr std::int32_t kSimScaleMax = 110000;
// Offsets in 1/100 mm, at most 10 mm either way.
inline constexpr std::int32_t kSimOffsetLimit = 1000;
inline constexpr std::size_t kSimSerialMax = 15;

class SimParameters {
  public:
    explicit SimParameters(const std::string& serial);

    const std::vector<std::uint8_t>& Block() const { return block_; }
    // Replaces the whole block when it is well formed; false leaves it as it was.
    bool Replace(const std::vector<std::uint8_t>& block);
    static bool WellFormed(const std::vector<std::uint8_t>& block);
    // Inverts the bits of the byte at offset at, seal or no seal, as a failing
    // memory cell would.
    void CorruptByte(std::size_t at) { block_.at(at) ^= 0xFF; }
    // Erases the whole block, as a flash that lost it holds it: every byte
    // 0xFF, no longer well formed.
    void Erase() { block_.assign(block_.size(), 0xFF); }

    std::string Serial() const;
    bool SetSerial(const std::string& serial);
    std::int32_t Scale(int axis) const;
    bool SetScale(int axis, std::int32_t perHundredThousand);
    std::int32_t LaserX() const;
    std::int32_t LaserY() const;
    bool SetLaser(std::int32_t x, std::int32_t y);
    std::int32_t Y0() const;
    bool SetY0(std::int32_t y0);

    static std::uint32_t Crc32(const std::uint8_t* data, std::size_t n);

  private:
    SimParameters() = default;
    static const std::vector<std::uint8_t>& FactoryBlock();

    std::int32_t Get32(std::size_t at) const;
    void Put32(std::size_t at, std::int32_t value);
    void Seal();

    std::vector<std::uint8_t> block_;
};

}  // namespace hw
