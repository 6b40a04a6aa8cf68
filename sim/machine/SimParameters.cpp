#include "sim/machine/SimParameters.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace hw {

namespace {

// Field offsets of the block.
constexpr std::size_t kMagic = 0;        // "QMVP"
constexpr std::size_t kFormat = 4;       // 16-bit format
constexpr std::size_t kLength = 6;       // 16-bit block length
constexpr std::size_t kSerial = 8;       // 16 bytes, NUL padded
constexpr std::size_t kScale = 24;       // 3 x 32-bit, per 100000
constexpr std::size_t kLaser = 36;       // 2 x 32-bit, 1/100 mm
constexpr std::size_t kY0 = 44;          // 32-bit, 1/100 mm
constexpr std::size_t kTravel = 48;      // 4 x 32-bit
constexpr std::size_t kFeeds = 64;       // 4 x 16-bit default feeds
constexpr std::size_t kPitchX = 72;      // 256 x 16-bit pitch compensation
constexpr std::size_t kPitchY = 584;     // 256 x 16-bit
constexpr std::size_t kRotary = 1096;    // 360 x 16-bit rotary compensation
constexpr std::size_t kReserved = 1816;  // pattern up to the CRC
constexpr std::size_t kCrc = kSimBlockSize - 4;

constexpr char kMagicText[4] = {'Q', 'M', 'V', 'P'};

// The reflected CRC-32 (polynomial 0xEDB88320), one entry per byte value.
constexpr std::array<std::uint32_t, 256> kCrcTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
        std::uint32_t crc = byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        table[byte] = crc;
    }
    return table;
}();

bool SerialText(const std::string& serial) {
    if (serial.empty() || serial.size() > kSimSerialMax) return false;
    for (unsigned char c : serial) {
        if (c < 0x20 || c > 0x7E) return false;
    }
    return true;
}

std::int16_t Ripple(int i, double amplitude, double period) {
    return static_cast<std::int16_t>(std::lround(amplitude * std::sin(i * 6.283185307 / period)));
}

}  // namespace

// Machines are made again and again with the same serial number (a fuzz run
// makes one per input): the last sealed block is kept, per thread, for the next.
SimParameters::SimParameters(const std::string& serial) {
    thread_local std::string lastSerial;
    thread_local std::vector<std::uint8_t> lastBlock;
    if (lastBlock.empty() || serial != lastSerial) {
        block_ = FactoryBlock();
        if (!SetSerial(serial)) SetSerial("QMV0000");
        lastSerial = serial;
        lastBlock = block_;
    } else {
        block_ = lastBlock;
    }
}

// Built once: every machine starts from the same settings.
const std::vector<std::uint8_t>& SimParameters::FactoryBlock() {
    static const std::vector<std::uint8_t> factory = [] {
        SimParameters made;
        std::vector<std::uint8_t>& block = made.block_;
        block.assign(kSimBlockSize, 0);
        std::memcpy(&block[kMagic], kMagicText, 4);
        block[kFormat] = kSimBlockFormat;
        block[kLength] = kSimBlockSize & 0xFF;
        block[kLength + 1] = kSimBlockSize >> 8;
        for (int axis = 0; axis < 3; ++axis) made.Put32(kScale + 4 * axis, kSimScaleBase);
        const std::int32_t travel[4] = {60000, 40000, -4000, 36000000};
        for (int i = 0; i < 4; ++i) made.Put32(kTravel + 4 * i, travel[i]);
        const std::uint16_t feeds[4] = {3600, 3600, 1200, 3600};
        for (int i = 0; i < 4; ++i) {
            block[kFeeds + 2 * i] = static_cast<std::uint8_t>(feeds[i]);
            block[kFeeds + 2 * i + 1] = static_cast<std::uint8_t>(feeds[i] >> 8);
        }
        auto put16 = [&block](std::size_t at, std::int16_t v) {
            block[at] = static_cast<std::uint8_t>(v);
            block[at + 1] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(v) >> 8);
        };
        for (int i = 0; i < 256; ++i) put16(kPitchX + 2 * i, Ripple(i, 12, 64));
        for (int i = 0; i < 256; ++i) put16(kPitchY + 2 * i, Ripple(i, 9, 48));
        for (int i = 0; i < 360; ++i) put16(kRotary + 2 * i, Ripple(i, 25, 360));
        for (std::size_t i = kReserved; i < kCrc; ++i) block[i] = static_cast<std::uint8_t>(i * 7);
        return block;
    }();
    return factory;
}

std::uint32_t SimParameters::Crc32(const std::uint8_t* data, std::size_t n) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) crc = (crc >> 8) ^ kCrcTable[(crc ^ data[i]) & 0xFF];
    return ~crc;
}

bool SimParameters::WellFormed(const std::vector<std::uint8_t>& block) {
    if (block.size() != kSimBlockSize) return false;
    if (std::memcmp(&block[kMagic], kMagicText, 4) != 0) return false;
    if ((block[kFormat] | (block[kFormat + 1] << 8)) != kSimBlockFormat) return false;
    if ((block[kLength] | (block[kLength + 1] << 8)) != static_cast<int>(kSimBlockSize))
        return false;
    std::uint32_t stored = 0;
    for (int b = 0; b < 4; ++b) stored |= static_cast<std::uint32_t>(block[kCrc + b]) << (8 * b);
    if (stored != Crc32(block.data(), kCrc)) return false;
    SimParameters view;
    view.block_ = block;
    if (!SerialText(view.Serial())) return false;
    for (int axis = 0; axis < 3; ++axis) {
        if (view.Scale(axis) < kSimScaleMin || view.Scale(axis) > kSimScaleMax) return false;
    }
    for (std::int32_t offset : {view.LaserX(), view.LaserY(), view.Y0()}) {
        if (offset < -kSimOffsetLimit || offset > kSimOffsetLimit) return false;
    }
    return true;
}

bool SimParameters::Replace(const std::vector<std::uint8_t>& block) {
    if (!WellFormed(block)) return false;
    block_ = block;
    return true;
}

std::string SimParameters::Serial() const {
    const auto first = block_.begin() + kSerial;
    const auto last = first + kSimSerialMax + 1;
    return std::string(first, std::find(first, last, std::uint8_t{0}));
}

bool SimParameters::SetSerial(const std::string& serial) {
    if (!SerialText(serial)) return false;
    std::memset(&block_[kSerial], 0, kSimSerialMax + 1);
    std::memcpy(&block_[kSerial], serial.data(), serial.size());
    Seal();
    return true;
}

std::int32_t SimParameters::Scale(int axis) const {
    return Get32(kScale + 4 * axis);
}

bool SimParameters::SetScale(int axis, std::int32_t perHundredThousand) {
    if (axis < 0 || axis > 2) return false;
    if (perHundredThousand < kSimScaleMin || perHundredThousand > kSimScaleMax) return false;
    Put32(kScale + 4 * axis, perHundredThousand);
    Seal();
    return true;
}

std::int32_t SimParameters::LaserX() const {
    return Get32(kLaser);
}
std::int32_t SimParameters::LaserY() const {
    return Get32(kLaser + 4);
}

bool SimParameters::SetLaser(std::int32_t x, std::int32_t y) {
    if (x < -kSimOffsetLimit || x > kSimOffsetLimit) return false;
    if (y < -kSimOffsetLimit || y > kSimOffsetLimit) return false;
    Put32(kLaser, x);
    Put32(kLaser + 4, y);
    Seal();
    return true;
}

std::int32_t SimParameters::Y0() const {
    return Get32(kY0);
}

bool SimParameters::SetY0(std::int32_t y0) {
    if (y0 < -kSimOffsetLimit || y0 > kSimOffsetLimit) return false;
    Put32(kY0, y0);
    Seal();
    return true;
}

std::int32_t SimParameters::Get32(std::size_t at) const {
    std::uint32_t v = 0;
    for (int b = 0; b < 4; ++b) v |= static_cast<std::uint32_t>(block_[at + b]) << (8 * b);
    return static_cast<std::int32_t>(v);
}

void SimParameters::Put32(std::size_t at, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int b = 0; b < 4; ++b) block_[at + b] = static_cast<std::uint8_t>(v >> (8 * b));
}

void SimParameters::Seal() {
    const std::uint32_t crc = Crc32(block_.data(), kCrc);
    for (int b = 0; b < 4; ++b) block_[kCrc + b] = static_cast<std::uint8_t>(crc >> (8 * b));
}

}  // namespace hw
