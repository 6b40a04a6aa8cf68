// The console's machine: the link to it, the connection, and what the
// console knows of it (its queue, device path, firmware text and panel
// type). Connects to the first queue of the machine's driver that opens,
// re-tests the device when the devices change, and keeps the two guards
// every procedure starts with.
#pragma once

#include <string>

#include "commands/MachineLink.h"

namespace hw {

class Reporter;
struct LinkPlatform;

// The driver name of the machine's printer queues.
inline constexpr const char* kMachineDriverName = "Varnel QMV-240";

class MachineSession {
  public:
    explicit MachineSession(const LinkPlatform& platform) : link(platform) {}

    MachineLink& Link() { return link; }
    const MachineLink& Link() const { return link; }
    bool Connected() const { return connected; }
    // The queue connected to, or last connected to; the driver name before any.
    const std::string& Queue() const { return queue; }
    const std::string& DevicePath() const;
    // The machine's version text as last read; empty: not read.
    const std::string& Firmware() const { return firmware; }
    // The panel that carries the rotary axis dial, as the version text told.
    bool PanelTypeJ() const { return panelTypeJ; }

    // Connects to the first queue of the machine's driver whose device opens,
    // then reads its version text. False: no machine, offline.
    bool ConnectFirst();
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

  private:
    void ReadFirmware();

    MachineLink link;
    bool connected = false;
    std::string queue = kMachineDriverName;
    std::string firmware;
    bool panelTypeJ = false;
};

}  // namespace hw
