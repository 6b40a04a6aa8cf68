// The device files of a simulated PC with several machines plugged in: an
// open goes to the machine whose device path it names, every later call to
// the machine that handed out the handle. Remembers the machine last opened,
// the one the console talks to.
#pragma once

#include <map>
#include <mutex>
#include <vector>

#include "sim/pc/SimDeviceFiles.h"

namespace hw {

class SimDeviceBus final : public DeviceFiles {
  public:
    void Attach(SimDeviceFiles& device);

    OsHandle Open(const std::string& path, std::uint32_t flagsAndAttributes) override;
    bool Close(OsHandle handle) override;
    bool Read(OsHandle handle, void* buffer, std::uint32_t n, std::uint32_t& done) override;
    bool Write(OsHandle handle, const void* buffer, std::uint32_t n, std::uint32_t& done) override;
    bool Control(OsHandle handle, std::uint32_t code, const void* in, std::uint32_t inLength,
                 void* out, std::uint32_t outLength, std::uint32_t& returned) override;

    // The device of the handle opened last that is still open; with none
    // open, the device an open named last; the first attached before any.
    SimDeviceFiles& LastOpened() const;

  private:
    SimDeviceFiles* DeviceOf(OsHandle handle) const;

    mutable std::mutex mutex_;
    std::vector<SimDeviceFiles*> devices_;
    struct Opened {
        SimDeviceFiles* device;
        std::uint64_t order;
    };
    std::map<OsHandle, Opened> handles_;
    std::uint64_t opens_ = 0;
    std::size_t lastOpened_ = 0;
};

}  // namespace hw
