#include "console/bundle/ZipArchive.h"

#include <zlib.h>

#include <limits>
#include <stdexcept>

namespace hw {

namespace {

// The years an MS-DOS date can hold.
constexpr int kFirstDosYear = 1980;
constexpr int kLastDosYear = 2107;

constexpr std::uint32_t kLocalHeaderSignature = 0x04034B50;
constexpr std::uint32_t kCentralHeaderSignature = 0x02014B50;
constexpr std::uint32_t kEndRecordSignature = 0x06054B50;
// Version 2.0 (deflate), made on MS-DOS: plain names, no attributes.
constexpr std::uint16_t kVersion = 20;
constexpr std::uint16_t kMethodDeflate = 8;
constexpr std::uint64_t kMaxOffset = std::numeric_limits<std::uint32_t>::max();
constexpr std::size_t kMaxMembers = std::numeric_limits<std::uint16_t>::max();
// Raw deflate data, without the zlib header and trailer.
constexpr int kRawDeflateWindowBits = -15;
constexpr int kMemoryLevel = 8;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutText(std::vector<std::uint8_t>& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

std::vector<std::uint8_t> Deflate(std::span<const std::uint8_t> bytes) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, kRawDeflateWindowBits,
                     kMemoryLevel, Z_DEFAULT_STRATEGY) != Z_OK) {
        throw std::runtime_error("the compressor could not be started");
    }
    const auto size = static_cast<uLong>(bytes.size());
    std::vector<std::uint8_t> out(deflateBound(&stream, size));
    stream.next_in = const_cast<Bytef*>(bytes.data());
    stream.avail_in = static_cast<uInt>(size);
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END) throw std::runtime_error("the compressor failed");
    return out;
}

// The fields the local and the central header share, from "version needed"
// to the name's length.
void PutCommonFields(std::vector<std::uint8_t>& out, DosDateTime stamp, std::uint32_t crc,
                     std::uint32_t compressedSize, std::uint32_t size, std::size_t nameLength) {
    Put16(out, kVersion);
    Put16(out, 0);  // flags
    Put16(out, kMethodDeflate);
    Put16(out, stamp.time);
    Put16(out, stamp.date);
    Put32(out, crc);
    Put32(out, compressedSize);
    Put32(out, size);
    Put16(out, static_cast<std::uint32_t>(nameLength));
    Put16(out, 0);  // extra field length
}

}  // namespace

DosDateTime ToDosDateTime(const LocalTime& when) {
    if (when.year < kFirstDosYear) return {(1 << 5) | 1, 0};
    // The year has seven bits: a later date would wrap round to 1980.
    if (when.year > kLastDosYear)
        return {((kLastDosYear - kFirstDosYear) << 9) | (12 << 5) | 31,
                (23 << 11) | (59 << 5) | (58 / 2)};
    return {static_cast<std::uint16_t>(((when.year - kFirstDosYear) << 9) | (when.month << 5) |
                                       when.day),
            static_cast<std::uint16_t>((when.hour << 11) | (when.minute << 5) | (when.second / 2))};
}

ZipArchive::ZipArchive(const LocalTime& when) : stamp(ToDosDateTime(when)) {}

void ZipArchive::Add(std::string_view name, std::span<const std::uint8_t> bytes) {
    if (bytes.size() > kMaxOffset || name.size() > kMaxMembers || members.size() >= kMaxMembers)
        throw std::length_error("the bundle is too large for a zip archive");
    const std::vector<std::uint8_t> data = Deflate(bytes);
    const std::uint64_t end = body.size() + 30 + name.size() + data.size();
    if (end > kMaxOffset) throw std::length_error("the bundle is too large for a zip archive");

    Member member;
    member.name = name;
    member.crc = static_cast<std::uint32_t>(
        crc32(crc32(0, nullptr, 0), bytes.data(), static_cast<uInt>(bytes.size())));
    member.compressedSize = static_cast<std::uint32_t>(data.size());
    member.size = static_cast<std::uint32_t>(bytes.size());
    member.offset = static_cast<std::uint32_t>(body.size());

    Put32(body, kLocalHeaderSignature);
    PutCommonFields(body, stamp, member.crc, member.compressedSize, member.size, name.size());
    PutText(body, name);
    body.insert(body.end(), data.begin(), data.end());
    members.push_back(std::move(member));
}

void ZipArchive::Add(std::string_view name, std::string_view text) {
    Add(name, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::vector<std::uint8_t> ZipArchive::Finish() const {
    std::vector<std::uint8_t> out = body;
    const auto directoryOffset = static_cast<std::uint32_t>(out.size());
    for (const Member& member : members) {
        Put32(out, kCentralHeaderSignature);
        Put16(out, kVersion);  // made by
        PutCommonFields(out, stamp, member.crc, member.compressedSize, member.size,
                        member.name.size());
        Put16(out, 0);  // comment length
        Put16(out, 0);  // disk number
        Put16(out, 0);  // internal attributes
        Put32(out, 0);  // external attributes
        Put32(out, member.offset);
        PutText(out, member.name);
    }
    const auto directorySize = static_cast<std::uint32_t>(out.size() - directoryOffset);
    Put32(out, kEndRecordSignature);
    Put16(out, 0);  // this disk
    Put16(out, 0);  // the disk the directory starts on
    Put16(out, static_cast<std::uint32_t>(members.size()));
    Put16(out, static_cast<std::uint32_t>(members.size()));
    Put32(out, directorySize);
    Put32(out, directoryOffset);
    Put16(out, 0);  // comment length
    return out;
}

}  // namespace hw
