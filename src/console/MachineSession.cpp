#include "console/MachineSession.h"

#include <algorithm>
#include <string_view>

#include "console/Messages.h"
#include "console/Reporter.h"
#include "link/DeviceChannel.h"
#include "link/Discovery.h"
#include "link/StartupTimer.h"
#include "platform/device/LinkPlatform.h"

namespace hw {

namespace {

// The machine's version text names its panel type: "PNL", and later a "J"
// for the panel that carries the rotary axis dial.
bool IsPanelTypeJ(std::string_view version, bool previous) {
    const auto panel = version.find("PNL");
    if (panel == std::string_view::npos) return previous;
    return version.find('J', panel) != std::string_view::npos;
}

}  // namespace

std::string DeviceInstance(std::string_view devicePath) {
    const auto first = devicePath.find('#');
    if (first == std::string_view::npos) return {};
    const auto second = devicePath.find('#', first + 1);
    if (second == std::string_view::npos) return {};
    const auto third = devicePath.find('#', second + 1);
    if (third == std::string_view::npos) return {};
    return std::string(devicePath.substr(second + 1, third - second - 1));
}

std::string MachineSession::QueueAndPort() const {
    return port.empty() ? queue : queue + " on " + port;
}

const std::string& MachineSession::DevicePath() const {
    return link.Channel().DevicePath();
}

std::vector<std::string> MachineSession::MachineQueues() {
    std::vector<std::string> queues;
    const int count = link.FindPrinters(kMachineDriverName);
    for (int i = 0; i < count; ++i) {
        if (const std::string* name = link.PrinterName(i)) queues.push_back(*name);
    }
    return queues;
}

// The session's own machine is described from what it knows; every other
// queue is tried with a link of its own, so that the session's connection,
// and a removed machine it waits for, stay as they are.
std::vector<FoundMachine> MachineSession::FindMachines() {
    std::vector<FoundMachine> found;
    for (const std::string& name : MachineQueues()) {
        FoundMachine& machine = found.emplace_back();
        machine.queue = name;
        std::string driver;
        GetPrinterDriverAndPort(platform.spooler, machine.queue, driver, machine.port);
        const bool own = connected && name == queue;
        MachineSession probe(platform);
        if (!own) probe.ConnectTo(name);
        const MachineSession& from = own ? *this : probe;
        machine.connects = from.Connected();
        machine.devicePath = from.DevicePath();
        machine.instance = DeviceInstance(machine.devicePath);
        machine.firmware = from.Firmware();
    }
    return found;
}

std::vector<std::string> MachineSession::TimedQueues(StartupTimer* startup) {
    return Timed(startup, StartupPart::Spooler, [this] { return MachineQueues(); });
}

bool MachineSession::ConnectFirst(StartupTimer* startup) {
    return ConnectRemembered(std::nullopt, startup);
}

// The queues are listed once; the remembered one, while it is still among
// them, is tried first, then the others in the spooler's order.
bool MachineSession::ConnectRemembered(const std::optional<std::string>& remembered,
                                       StartupTimer* startup) {
    Disconnect();
    std::vector<std::string> queues = TimedQueues(startup);
    if (remembered) {
        const auto found = std::ranges::find(queues, *remembered);
        if (found != queues.end()) std::rotate(queues.begin(), found, found + 1);
    }
    for (const std::string& name : queues) {
        if (ConnectTo(name, startup)) return true;
    }
    return false;
}

bool MachineSession::ConnectTo(const std::string& name, StartupTimer* startup) {
    link.Disconnect();
    firmware.clear();
    panelTypeJ = false;
    connected = link.Connect(name, 0, 32, false, startup);
    if (!connected) return false;
    queue = name;
    port = link.Channel().PortName();
    Timed(startup, StartupPart::FirstReads, [this] { ReadFirmware(); });
    return true;
}

bool MachineSession::Recheck() {
    const bool wasConnected = connected;
    connected = link.CheckConnection();
    if (connected == wasConnected) return false;
    if (connected) ReadFirmware();
    return true;
}

void MachineSession::Disconnect() {
    link.Disconnect();
    connected = false;
}

void MachineSession::ReadFirmware() {
    char version[64] = {};
    if (!link.GetVersionString(version, sizeof version)) return;
    firmware = version;
    panelTypeJ = IsPanelTypeJ(firmware, panelTypeJ);
}

bool MachineSession::RequireOnline(Reporter& reporter) const {
    if (connected) return true;
    reporter.Error(kTextOffline);
    return false;
}

bool MachineSession::RequireReadyAtOrigin(Reporter& reporter) {
    // A status word that did not come is no machine waiting at the origin.
    const std::uint16_t status = link.GetStatusWord();
    if (status == kStatusNoAnswer) {
        reporter.Error(kTextError);
        return false;
    }
    if ((status & kStatusReadyAtOrigin) == 0) {
        reporter.Warning(kTextHitEnter);
        return false;
    }
    return true;
}

}  // namespace hw
