#include "console/MachineSession.h"

#include <string_view>

#include "console/Messages.h"
#include "console/Reporter.h"
#include "link/DeviceChannel.h"

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

const std::string& MachineSession::DevicePath() const {
    return link.Channel().DevicePath();
}

bool MachineSession::ConnectFirst() {
    link.Disconnect();
    connected = false;
    const int count = link.FindPrinters(kMachineDriverName);
    for (int i = 0; i < count && !connected; ++i) {
        const std::string* name = link.PrinterName(i);
        if (name == nullptr || !link.Connect(*name, 0, 32, false)) continue;
        queue = *name;
        connected = true;
    }
    if (connected) ReadFirmware();
    return connected;
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
