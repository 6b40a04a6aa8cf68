// A simulated PC with a QMV-240 on its USB port, and any further machines
// plugged in beside it: the machines, the device files that reach them, the
// spooler with the machine's queue "QMV-240" beside an office printer, the Plug and Play registry
// that resolves that queue to the machine's device path, the named locks, the clock and a
// single-byte ANSI code page, bundled into the LinkPlatform a device link takes.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/device/LinkPlatform.h"
#include "sim/machine/SimConfig.h"
#include "sim/pc/SimClock.h"
#include "sim/pc/SimDeviceBus.h"
#include "sim/pc/SimDeviceFiles.h"
#include "sim/pc/SimLocks.h"
#include "sim/pc/SimRegistry.h"
#include "sim/pc/SimSpooler.h"
#include "sim/pc/SimSystem.h"
#include "sim/pc/SimText.h"
#include "sim/pc/SimUserSettings.h"
#include "sim/usb/SimController.h"

namespace hw {

inline constexpr const char* kSimQueueName = "QMV-240";
inline constexpr const char* kSimDriverName = "Varnel QMV-240";
inline constexpr const char* kSimPortName = "USB001";
inline constexpr const char* kSimOtherPrinter = "Office Laser";
inline constexpr const char* kSimOtherDriver = "Generic Office Laser PCL6";
inline constexpr const char* kSimInterfaceGuid = "{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
inline constexpr const char* kSimUsbDevice = "VID_0F2A&PID_0240";
// The second machine of the demonstration's PC.
inline constexpr const char* kSimSecondQueueName = "QMV-240 (Copy 1)";
inline constexpr const char* kSimSecondPortName = "USB002";

// A machine plugged into the simulated PC and its device.
struct SimPluggedMachine {
    SimPluggedMachine(SimClock& clock, const SimConfig& config, std::string queuePort,
                      std::string devicePath, OsHandle firstHandle)
        : controller(clock, config),
          files(controller, std::move(devicePath), firstHandle),
          name(std::move(queuePort)) {}

    SimController controller;
    SimDeviceFiles files;
    // "<queue> on <port>".
    std::string name;
};

// The demonstration's second machine: another serial number, firmware text
// and parameter block.
SimConfig SecondMachineConfig();

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

    // Plugs a further machine in on a queue and port of its own (the NT
    // family's registry layout).
    void AddMachine(const std::string& queue, const std::string& port, const SimConfig& config);

    const LinkPlatform& Platform() const { return platform_; }
    // The same services with alerts of the caller's own (the console's boxes).
    LinkPlatform Link(hw::Alerts& alerts) {
        return LinkPlatform{bus_, locks_, system_, spooler_, registry_, alerts, text_};
    }

    // The machine acted on: the one whose device was opened last (the one
    // the console talks to), the first before any. Direct access is for
    // single-threaded use; WithMachine serialises with device traffic from
    // other threads.
    SimPluggedMachine& Acting() const;
    SimController& Controller() { return Acting().controller; }
    SimMachine& Machine() { return Controller().Machine(); }
    SimFaults& Faults() { return Controller().Faults(); }
    template <class F>
    decltype(auto) WithMachine(F&& f) {
        return Files().WithController(
            [&f](SimController& c) -> decltype(auto) { return f(c.Machine()); });
    }

    // The acting machine's cable.
    void Unplug() { Files().Unplug(); }
    void PlugIn() { Files().PlugIn(); }
    bool Plugged() const { return Acting().files.Plugged(); }
    // Called after each removal and arrival of any machine, possibly in the
    // middle of a device call: a listener posts the news (as Windows posts
    // its device change message) rather than talking to the device itself.
    void OnDeviceChange(std::function<void()> listener);
    const std::string& DevicePath() const { return Acting().files.DevicePath(); }

    SimClock& Clock() { return clock_; }
    SimDeviceFiles& Files() { return Acting().files; }
    SimLocks& Locks() { return locks_; }
    SimSystem& System() { return system_; }
    SimSpooler& Spooler() { return spooler_; }
    SimRegistry& Registry() { return registry_; }
    SimAlerts& Alerts() { return alerts_; }
    SimText& Text() { return text_; }
    SimUserSettings& UserSettings() { return userSettings_; }

  private:
    void InstallPrinters();
    void InstallNtRegistry(const std::string& serial);
    void InstallLegacyRegistry(const std::string& serial);

    SimClock& clock_;
    std::vector<std::unique_ptr<SimPluggedMachine>> machines_;
    SimDeviceBus bus_;
    std::function<void()> deviceListener_;
    SimLocks locks_;
    SimSystem system_;
    SimSpooler spooler_;
    SimRegistry registry_;
    SimAlerts alerts_;
    SimText text_;
    SimUserSettings userSettings_;
    LinkPlatform platform_;
};

}  // namespace hw
