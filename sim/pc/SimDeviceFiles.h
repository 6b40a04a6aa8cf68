// The machine's USB printer-class device as the device file calls see it:
// one device path that opens the simulated controller (not shared), the
// vendor-request and device-ID controls, bulk reads and writes, and the cable:
// unplugging it makes every open handle fail until it is closed, and opens
// fail until the device is plugged in again. A machine that takes a firmware
// image restarts: it is off the bus for kSimRestartMs and comes back at the
// first open after that (or, armed so, only when plugged in again).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/device/DeviceFiles.h"
#include "sim/usb/SimController.h"

namespace hw {

inline constexpr std::uint64_t kSimRestartMs = 3000;

class SimDeviceFiles final : public DeviceFiles {
  public:
    // Handles are handed out from firstHandle up, so that the devices of
    // several machines never share one.
    SimDeviceFiles(SimController& controller, std::string devicePath, OsHandle firstHandle = 0x200);

    OsHandle Open(const std::string& path, std::uint32_t flagsAndAttributes) override;
    bool Close(OsHandle handle) override;
    bool Read(OsHandle handle, void* buffer, std::uint32_t n, std::uint32_t& done) override;
    bool Write(OsHandle handle, const void* buffer, std::uint32_t n, std::uint32_t& done) override;
    bool Control(OsHandle handle, std::uint32_t code, const void* in, std::uint32_t inLength,
                 void* out, std::uint32_t outLength, std::uint32_t& returned) override;

    void Unplug();
    // Plugs the device back in (ending a restart, as switching the machine
    // off and on would) and delivers the print jobs held meanwhile.
    void PlugIn();
    // Called after every removal and arrival, outside the device's lock, as
    // Windows tells windows that device nodes changed.
    void OnDeviceChange(std::function<void()> listener);
    bool Plugged() const;
    // Handles opened and not yet closed, stale ones included.
    std::size_t OpenHandles() const;
    const std::string& DevicePath() const { return path_; }
    // Whether path names this device (Windows paths ignore case).
    bool Names(const std::string& path) const;

    // A print job spooled to the machine's queue; held while it is unplugged.
    void DeliverPrintJob(const std::vector<std::uint8_t>& data);
    // Which connection of the cable this is: it changes at every unplug.
    std::uint32_t Connection() const;
    // A piece of a print job begun on connection jobConnection reaches the
    // port: false when the cable has been pulled since the job began.
    bool TakePrintPiece(std::uint32_t jobConnection);

    // Runs f on the controller, serialised with the device traffic.
    template <class F>
    decltype(auto) WithController(F&& f) {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        return f(controller_);
    }

  private:
    OsHandle OpenLocked(const std::string& path);
    bool Live(OsHandle handle) const;
    bool Forward(std::uint32_t code, const std::uint8_t* in, std::uint32_t inLength,
                 std::uint8_t* out, std::uint32_t outLength, std::uint32_t& returned);
    // The unplug point reached once a control call of that kind succeeded.
    SimUnplugAt UnplugPointAfter(std::uint32_t code, bool dataPhase) const;
    // Unplugs when the armed unplug point is point, disarming it; true when it
    // unplugged.
    bool UnplugAtLocked(SimUnplugAt point);
    // Unplugs; true when the device was plugged in.
    bool UnplugLocked();
    void Notify();
    // The machine takes a print job; one that flashed it starts its restart.
    // True when it did.
    bool ReceiveLocked(const std::vector<std::uint8_t>& data);
    // A restart whose time is up plugs the device in again; true when it did.
    bool ComeBackLocked();

    mutable std::recursive_mutex mutex_;
    SimController& controller_;
    std::string path_;
    bool plugged_ = true;
    std::uint32_t generation_ = 1;
    std::map<OsHandle, std::uint32_t> handles_;
    OsHandle nextHandle_;
    std::vector<std::vector<std::uint8_t>> heldJobs_;
    bool restarting_ = false;
    // When a restarting machine is back; none: only when plugged in again.
    std::optional<std::uint64_t> backAt_;
    std::function<void()> listener_;
};

}  // namespace hw
