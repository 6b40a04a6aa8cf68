// The console's machine: the link to it, the connection, and what the
// console knows of it (its queue, device path, firmware text and panel
// type). Connects to the queue chosen, else the first of the machine's driver
// that opens, re-tests the device when the devices change, and keeps the two guards
// every procedure starts with.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "commands/MachineLink.h"

namespace hw {

class Reporter;
class StartupTimer;
struct LinkPlatform;

// A queue of the machine's driver found on the PC.
struct FoundMachine {
    std::string queue;
    // The queue's port; empty when the spooler does not tell it.
    std::string port;
    // The machine's device path; empty when the queue leads to no device.
    std::string devicePath;
    // The USB device instance, the last element of its Plug and Play
    // instance path: it carries the USB serial number when the device has
    // one. Empty when the device path does not tell it.
    std::string instance;
    // Its device opened when it was tried.
    bool connects = false;
    // Its version text, read while it was connected; empty: not read.
    std::string firmware;
};

// The USB device instance a device path names ("\\?\USB#VID_x&PID_y#<instance>#{guid}").
std::string DeviceInstance(std::string_view devicePath);

// The user setting that remembers the queue of the machine last chosen.
inline constexpr const char* kChosenMachineSetting = "Machine";

// The driver name of the machine's printer queues.
inline constexpr const char* kMachineDriverName = "Varnel QMV-240";

class MachineSession {
  public:
    explicit MachineSession(const LinkPlatform& platform) : platform(platform), link(platform) {}

    MachineLink& Link() { return link; }
    const MachineLink& Link() const { return link; }
    bool Connected() const { return connected; }
    // The queue connected to, or last connected to; the driver name before any.
    const std::string& Queue() const { return queue; }
    // The queue's port, as the spooler told it at the connection; empty
    // when it did not.
    const std::string& Port() const { return port; }
    // "<queue> on <port>", or the queue alone when the port is not known:
    // how the console names the machine to the technician.
    std::string QueueAndPort() const;
    const std::string& DevicePath() const;
    // The machine's USB device instance (DeviceInstance of its path).
    std::string Instance() const { return DeviceInstance(DevicePath()); }
    // The machine's version text as last read; empty: not read.
    const std::string& Firmware() const { return firmware; }
    // The panel that carries the rotary axis dial, as the version text told.
    bool PanelTypeJ() const { return panelTypeJ; }
    // The file the console last saved this machine's parameter block to
    // while it ran (Get Parameters, a restore's backup); empty: none. It
    // belongs to the queue connected to when it was noted.
    void NoteSavedBlock(const std::string& path) { savedBlock = {queue, path}; }
    std::string SavedBlock() const { return savedBlock.first == queue ? savedBlock.second : ""; }

    // Every queue of the machine's driver: the session's own machine as it
    // knows it, each other one connected to in turn with a link of its own
    // to tell whether its device opens and to read its version text.
    std::vector<FoundMachine> FindMachines();
    // Connects to the first queue of the machine's driver whose device opens,
    // then reads its version text. False: no machine, offline. Each connects
    // with its steps timed for the start-up when a timer is given.
    bool ConnectFirst(StartupTimer* startup = nullptr);
    // Connects to the remembered queue when it is one of the machine's
    // queues and its device opens; else as ConnectFirst.
    bool ConnectRemembered(const std::optional<std::string>& remembered,
                           StartupTimer* startup = nullptr);
    // Connects to the machine on queue, then reads its version text. False:
    // it does not open, offline. What was known of the machine before is
    // forgotten either way.
    bool ConnectTo(const std::string& queue, StartupTimer* startup = nullptr);
    // Re-tests the device after the devices changed (opening it again, or
    // finding the machine again by its queue); a machine that came back has
    // its version read anew. True when the connection state changed.
    bool Recheck();
    void Disconnect();

    // The guard every procedure that talks to the machine starts with:
    // false, after "OFFLINE", when the console is not connected.
    bool RequireOnline(Reporter& reporter) const;
    // The status word before a procedure that moves the machine: false,
    // after "error" when it did not come or "Hit [ENTER]    " when the
    // machine does not stand ready at its origin.
    bool RequireReadyAtOrigin(Reporter& reporter);

    // The queues of the machine's driver, in the spooler's order; nothing
    // is opened.
    std::vector<std::string> MachineQueues();

  private:
    // MachineQueues, timed for the start-up when a timer is given.
    std::vector<std::string> TimedQueues(StartupTimer* startup);
    void ReadFirmware();

    const LinkPlatform& platform;
    MachineLink link;
    bool connected = false;
    std::string queue = kMachineDriverName;
    std::string port;
    std::string firmware;
    bool panelTypeJ = false;
    std::pair<std::string, std::string> savedBlock;
};

}  // namespace hw
