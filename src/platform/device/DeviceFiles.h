// Device file calls: open, close, read, write and device control on the
// machine's USB printer-class device.
#pragma once

#include <cstdint>
#include <string>

#include "platform/device/Handles.h"

namespace hw {

// Flags-and-attributes words for DeviceFiles::Open.
inline constexpr std::uint32_t kFileAttributeNormal = 0x80;
inline constexpr std::uint32_t kFileFlagOverlapped = 0x40000000;

class DeviceFiles {
  public:
    virtual ~DeviceFiles() = default;

    // Opens path for reading and writing, not shared, existing only, with
    // the given flags-and-attributes word. Returns kInvalidHandle on failure.
    virtual OsHandle Open(const std::string& path, std::uint32_t flagsAndAttributes) = 0;

    // Closes a handle. True exactly when the OS reports success.
    virtual bool Close(OsHandle handle) = 0;

    // Synchronous read of up to n bytes. On success stores the count read
    // (which may be less than n, or 0) in done and returns true.
    virtual bool Read(OsHandle handle, void* buffer, std::uint32_t n, std::uint32_t& done) = 0;

    // Synchronous write of up to n bytes; done as for Read.
    virtual bool Write(OsHandle handle, const void* buffer, std::uint32_t n,
                       std::uint32_t& done) = 0;

    // Device control with the given code. in/inLength and out/outLength may be
    // null/0. Stores the byte count the driver returned in returned. True
    // exactly when the OS reports success.
    virtual bool Control(OsHandle handle, std::uint32_t code, const void* in,
                         std::uint32_t inLength, void* out, std::uint32_t outLength,
                         std::uint32_t& returned) = 0;
};

}  // namespace hw
