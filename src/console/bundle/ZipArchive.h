// A zip archive built in memory: each member deflated (method 8) with its
// CRC-32, behind a local file header, then the central directory and its end
// record. The service bundle is small, so the whole archive is held at once
// and written to disk by the caller.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/device/System.h"

namespace hw {

// The MS-DOS date and time words of a zip header. Dates the format cannot
// hold are clamped: before 1980 to 1980-01-01 00:00:00, after 2107 to
// 2107-12-31 23:59:58.
struct DosDateTime {
    std::uint16_t date = 0;
    std::uint16_t time = 0;
};
DosDateTime ToDosDateTime(const LocalTime& when);

class ZipArchive {
  public:
    // Every member is stamped with when.
    explicit ZipArchive(const LocalTime& when);

    // Appends the member name (plain ASCII, '/' between folders) holding
    // bytes. Throws std::length_error when the member or the archive would
    // outgrow the 32-bit sizes and offsets of the format or 65,535 members,
    // std::runtime_error when the compressor fails.
    void Add(std::string_view name, std::span<const std::uint8_t> bytes);
    void Add(std::string_view name, std::string_view text);

    // The whole archive: the members, the central directory and its end
    // record.
    std::vector<std::uint8_t> Finish() const;

  private:
    struct Member {
        std::string name;
        std::uint32_t crc = 0;
        std::uint32_t compressedSize = 0;
        std::uint32_t size = 0;
        std::uint32_t offset = 0;
    };

    DosDateTime stamp;
    std::vector<std::uint8_t> body;  // the local headers and the data
    std::vector<Member> members;
};

}  // namespace hw
