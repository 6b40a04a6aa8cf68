// Device file calls on Win32: synchronous CreateFileA, ReadFile, WriteFile
// and DeviceIoControl on the machine's device handle.
#pragma once

#include "platform/device/DeviceFiles.h"

namespace hw {

class Win32DeviceFiles final : public DeviceFiles {
  public:
    OsHandle Open(const std::string& path, std::uint32_t flagsAndAttributes) override;
    bool Close(OsHandle handle) override;
    bool Read(OsHandle handle, void* buffer, std::uint32_t n, std::uint32_t& done) override;
    bool Write(OsHandle handle, const void* buffer, std::uint32_t n, std::uint32_t& done) override;
    bool Control(OsHandle handle, std::uint32_t code, const void* in, std::uint32_t inLength,
                 void* out, std::uint32_t outLength, std::uint32_t& returned) override;
};

}  // namespace hw
