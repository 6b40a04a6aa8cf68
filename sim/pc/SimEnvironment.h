// A simulated PC with a QMV-240 on its USB port: the machine, the device files
// that reach it, the spooler with the machine's queue "QMV-240" beside an
// office printer, the Plug and Play registry that resolves that queue to the
// machine's device path, the named locks, the clock and a single-byte ANSI
// code page, bundled into the LinkPlatform a device link takes.
#pragma once

#include <functional>
#include <string>

#include "platform/device/LinkPlatform.h"
#include "sim/machine/SimConfig.h"
#include "sim/pc/SimClock.h"
#include "sim/pc/SimDeviceFiles.h"
#include "sim/pc/SimLocks.h"
#include "sim/pc/SimRegistry.h"
#include "sim/pc/SimSpooler.h"
#include "sim/pc/SimSystem.h"
#include "sim/pc/SimText.h"
#include "sim/usb/SimController.h"

namespace hw {

inline constexpr const char* kSimQueueName = "QMV-240";
inline constexpr const char* kSimDriverName = "Varnel QMV-240";
inline constexpr const char* kSimPortName = "USB001";
inline constexpr const char* kSimOtherPrinter = "Office Laser";
inline constexpr const char* kSimOtherDriver = "Generic Office Laser PCL6";
inline constexpr const char* kSimInterfaceGuid = "{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
inline constexpr const char* kSimUsbDevice = "VID_0F2A&PID_0240";

// Lays out the Windows NT Plug and Play keys of one machine with that serial
// number on that printer port, as its driver makes them: the USB printing
// node, its parent USB device and the device's interface link. Returns the
// device path they resolve to.
std::string InstallNtMachineKeys(SimRegistry& registry, const std::string& port,
                                 const std::string& serial);

class SimEnvironment {
  public:
    // platformId chooses the registry layout laid out (and reported by the OS
    // version query): the NT family's or the Windows 95/98/Me one.
    explicit SimEnvironment(SimClock& clock, const SimConfig& config = {},
                            std::uint32_t platformId = kPlatformWin32Nt);
    SimEnvironment(const SimEnvironment&) = delete;
    SimEnvironment& operator=(const SimEnvironment&) = delete;

    const LinkPlatform& Platform() const { return platform_; }
    // The same services with alerts of the caller's own (the console's boxes).
    LinkPlatform Link(hw::Alerts& alerts) {
        return LinkPlatform{files_, locks_, system_, spooler_, registry_, alerts, text_};
    }

    // The machine. Direct access is for single-threaded use; WithMachine
    // serialises with device traffic from other threads.
    SimController& Controller() { return controller_; }
    SimMachine& Machine() { return controller_.Machine(); }
    SimFaults& Faults() { return controller_.Faults(); }
    template <class F>
    decltype(auto) WithMachine(F&& f) {
        return files_.WithController(
            [&f](SimController& c) -> decltype(auto) { return f(c.Machine()); });
    }

    // The cable.
    void Unplug() { files_.Unplug(); }
    void PlugIn() { files_.PlugIn(); }
    bool Plugged() const { return files_.Plugged(); }
    // Called after each removal and arrival, possibly in the middle of a
    // device call: a listener posts the news (as Windows posts its device
    // change message) rather than talking to the device itself.
    void OnDeviceChange(std::function<void()> listener) {
        files_.OnDeviceChange(std::move(listener));
    }
    const std::string& DevicePath() const { return files_.DevicePath(); }

    SimClock& Clock() { return clock_; }
    SimDeviceFiles& Files() { return files_; }
    SimLocks& Locks() { return locks_; }
    SimSystem& System() { return system_; }
    SimSpooler& Spooler() { return spooler_; }
    SimRegistry& Registry() { return registry_; }
    SimAlerts& Alerts() { return alerts_; }
    SimText& Text() { return text_; }

  private:
    void InstallPrinters();
    void InstallNtRegistry(const std::string& serial);
    void InstallLegacyRegistry(const std::string& serial);

    SimClock& clock_;
    SimController controller_;
    SimDeviceFiles files_;
    SimLocks locks_;
    SimSystem system_;
    SimSpooler spooler_;
    SimRegistry registry_;
    SimAlerts alerts_;
    SimText text_;
    LinkPlatform platform_;
};

}  // namespace hw
