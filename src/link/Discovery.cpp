#include "link/Discovery.h"

#include <string_view>

#include "link/OpenedPrinter.h"
#include "link/RegistryKey.h"
#include "platform/device/System.h"

namespace hw {

namespace {

// Length of "VID_xxxx&PID_xxxx", the vendor and product part of a USB node name.
constexpr std::size_t kVidPidLength = 17;
// Length of "\DosDevices\", skipped at the start of a legacy "SymbolicName".
constexpr std::size_t kDosDevicesLength = 12;

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// text from pos, at most count characters; empty when pos lies past the end.
std::string Slice(const std::string& text, std::size_t pos, std::size_t count = std::string::npos) {
    return pos >= text.size() ? std::string() : text.substr(pos, count);
}

// Since Windows 7 a value such as "DeviceDesc" is often an indirect string,
// "@oem12.inf,%desc%;Varnel QMV-240": its text is what follows the last ";".
std::string_view PlainText(std::string_view value) {
    if (value.empty() || value.front() != '@') return value;
    const std::size_t semicolon = value.rfind(';');
    return semicolon == std::string_view::npos ? value : value.substr(semicolon + 1);
}

// The equality every walk uses: by text, letter case ignored.
bool SameText(Text& text, std::string_view a, std::string_view b) {
    return text.EqualsIgnoreCase(PlainText(a), PlainText(b));
}

bool AnyKey(const std::string&) {
    return true;
}

// Step 1 of both walks: the first instance B, below a hardware key of root,
// whose name contains the port, is accepted by usable, and whose "DeviceDesc"
// equals the driver name.
template <class Usable>
bool FindPrintInstance(Registry& registry, Text& text, const char* root,
                       const std::string& driverName, const std::string& portName, Usable&& usable,
                       std::string& instance) {
    return SearchTwoLevels(
        registry, root, AnyKey,
        [&](const std::string&, const RegistryKey& hardware, const std::string& name) {
            if (!Contains(name, portName) || !usable(name)) return Visit::Next;
            RegistryKey key(registry);
            if (!key.Open(hardware, name)) return Visit::Abort;
            std::string description;
            if (!key.Read("DeviceDesc", description)) return Visit::Next;
            if (!SameText(text, description, driverName)) return Visit::Next;
            instance = name;
            return Visit::Matched;
        });
}

// Step 3 of both walks: below the device class equal to guid, the first
// interface key K that matches(K) and whose "#" subkey holds "SymbolicLink".
template <class Matches>
bool FindClassLink(Registry& registry, Text& text, const std::string& guid, Matches&& matches,
                   std::string& path) {
    const auto isGuid = [&](const std::string& name) { return SameText(text, name, guid); };
    return SearchTwoLevels(
        registry, kDeviceClassesRoot, isGuid,
        [&](const std::string&, const RegistryKey& deviceClass, const std::string& name) {
            if (!matches(name)) return Visit::Next;
            RegistryKey key(registry);
            RegistryKey link(registry);
            if (!key.Open(deviceClass, name) || !link.Open(key, "#")) return Visit::Abort;
            std::string value;
            if (!link.Read("SymbolicLink", value)) return Visit::Next;
            path = value;
            return Visit::Matched;
        });
}

bool WalkNt(Registry& registry, Text& text, const std::string& driverName,
            const std::string& portName, std::string& path) {
    std::string prefix, deviceKey, instanceKey, guid;
    return nt::FindPrinterNode(registry, text, driverName, portName, prefix) &&
           nt::FindUsbDevice(registry, text, prefix, deviceKey, instanceKey, guid) &&
           nt::FindInterfaceLink(registry, text, deviceKey, instanceKey, guid, path);
}

bool WalkLegacy(Registry& registry, Text& text, const std::string& driverName,
                const std::string& portName, std::string& path) {
    std::string vidPid, rest, classPart, guidPart;
    return legacy::FindPrinterNode(registry, text, driverName, portName, vidPid, rest) &&
           legacy::FindUsbDevice(registry, text, vidPid, rest, classPart, guidPart) &&
           legacy::FindInterfaceLink(registry, text, classPart, guidPart, path);
}

}  // namespace

bool GetPrinterDriverAndPort(Spooler& spooler, const std::string& printerName,
                             std::string& driverName, std::string& portName) {
    OpenedPrinter printer(spooler, printerName);
    if (!printer.IsOpen()) return false;
    PrinterRecord record;
    if (!spooler.GetPrinterRecord(printer.Handle(), record)) return false;
    driverName = record.driverName;
    portName = record.portName;
    return true;
}

bool ResolveDevicePath(Spooler& spooler, Registry& registry, Text& text,
                       const std::string& printerName, std::uint32_t platformId,
                       std::string& path) {
    std::string driverName, portName;
    return GetPrinterDriverAndPort(spooler, printerName, driverName, portName) &&
           WalkToDevicePath(registry, text, driverName, portName, platformId, path);
}

bool WalkToDevicePath(Registry& registry, Text& text, const std::string& driverName,
                      const std::string& portName, std::uint32_t platformId, std::string& path) {
    if (platformId == kPlatformWin32Windows) {
        return WalkLegacy(registry, text, driverName, portName, path);
    }
    return WalkNt(registry, text, driverName, portName, path);
}

namespace nt {

// The instance key ends in a separator and the port; what stands before them
// is the parent's id prefix. An instance too short to leave a non-empty prefix
// is passed over: an empty prefix would match every USB device that has no
// "ParentIdPrefix" at all.
bool FindPrinterNode(Registry& registry, Text& text, const std::string& driverName,
                     const std::string& portName, std::string& prefix) {
    const std::size_t cut = portName.size() + 1;
    const auto leavesPrefix = [&](const std::string& name) { return name.size() > cut; };
    std::string instance;
    if (!FindPrintInstance(registry, text, kNtPrintRoot, driverName, portName, leavesPrefix,
                           instance)) {
        return false;
    }
    prefix = instance.substr(0, instance.size() - cut);
    return true;
}

// The USB instance whose "ParentIdPrefix" equals prefix. Its "Device
// Parameters" must open, or the search ends; a "SymbolicName" that is
// unreadable or holds no "{" moves on to the next instance.
bool FindUsbDevice(Registry& registry, Text& text, const std::string& prefix,
                   std::string& deviceKey, std::string& instanceKey, std::string& guid) {
    return SearchTwoLevels(
        registry, kNtUsbRoot, AnyKey,
        [&](const std::string& device, const RegistryKey& deviceHandle, const std::string& name) {
            RegistryKey key(registry);
            if (!key.Open(deviceHandle, name)) return Visit::Abort;
            std::string parent;
            if (!key.Read("ParentIdPrefix", parent)) parent.clear();
            if (!SameText(text, parent, prefix)) return Visit::Next;
            RegistryKey parameters(registry);
            if (!parameters.Open(key, "Device Parameters")) return Visit::Abort;
            std::string symbolicName;
            if (!parameters.Read("SymbolicName", symbolicName)) return Visit::Next;
            const std::size_t brace = symbolicName.find('{');
            if (brace == std::string::npos) return Visit::Next;
            deviceKey = device;
            instanceKey = name;
            guid = symbolicName.substr(brace);
            return Visit::Matched;
        });
}

bool FindInterfaceLink(Registry& registry, Text& text, const std::string& deviceKey,
                       const std::string& instanceKey, const std::string& guid, std::string& path) {
    const std::string instancePart = "#" + instanceKey + "#";
    const auto matches = [&](const std::string& name) {
        return Contains(name, deviceKey) && Contains(name, instancePart) && Contains(name, guid);
    };
    return FindClassLink(registry, text, guid, matches, path);
}

}  // namespace nt

namespace legacy {

// The instance name carries "VID_xxxx&PID_xxxx", a separator and the rest of
// the USB instance name; without "VID" it is read from the start.
bool FindPrinterNode(Registry& registry, Text& text, const std::string& driverName,
                     const std::string& portName, std::string& vidPid, std::string& rest) {
    std::string instance;
    if (!FindPrintInstance(registry, text, kLegacyPrintRoot, driverName, portName, AnyKey,
                           instance)) {
        return false;
    }
    std::size_t vid = instance.find("VID");
    if (vid == std::string::npos) vid = 0;
    vidPid = Slice(instance, vid, kVidPidLength);
    rest = Slice(instance, vid + kVidPidLength + 1);
    return true;
}

// "SymbolicName" is "\DosDevices\" + class part + "#" + guid part. A name
// whose "#" is missing or leaves either part empty moves on to the next
// instance.
bool FindUsbDevice(Registry& registry, Text& text, const std::string& vidPid,
                   const std::string& rest, std::string& classPart, std::string& guidPart) {
    const auto isDevice = [&](const std::string& name) { return SameText(text, name, vidPid); };
    return SearchTwoLevels(
        registry, kLegacyUsbRoot, isDevice,
        [&](const std::string&, const RegistryKey& device, const std::string& name) {
            if (!SameText(text, name, rest)) return Visit::Next;
            RegistryKey key(registry);
            if (!key.Open(device, name)) return Visit::Abort;
            std::string symbolicName;
            if (!key.Read("SymbolicName", symbolicName)) return Visit::Next;
            const std::size_t hash = symbolicName.find('#');
            if (hash == std::string::npos || hash <= kDosDevicesLength) return Visit::Next;
            if (hash + 1 >= symbolicName.size()) return Visit::Next;
            classPart = symbolicName.substr(kDosDevicesLength, hash - kDosDevicesLength);
            guidPart = symbolicName.substr(hash + 1);
            return Visit::Matched;
        });
}

bool FindInterfaceLink(Registry& registry, Text& text, const std::string& classPart,
                       const std::string& guidPart, std::string& path) {
    const auto matches = [&](const std::string& name) {
        return Contains(name, classPart) && Contains(name, guidPart);
    };
    return FindClassLink(registry, text, guidPart, matches, path);
}

}  // namespace legacy

}  // namespace hw
