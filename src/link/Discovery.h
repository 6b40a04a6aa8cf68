// Turns a printer queue into the machine's device path: the printer's driver
// and port from the spooler, then a walk of the Plug and Play registry from the
// USB printing node to its parent USB device to that device's interface link.
#pragma once

#include <cstdint>
#include <string>

#include "platform/device/Registry.h"
#include "platform/device/Spooler.h"
#include "platform/device/Text.h"

namespace hw {

// Registry names the walks use.
inline constexpr const char* kNtPrintRoot = "SYSTEM\\CurrentControlSet\\Enum\\USBPRINT";
inline constexpr const char* kNtUsbRoot = "SYSTEM\\CurrentControlSet\\Enum\\USB";
inline constexpr const char* kDeviceClassesRoot =
    "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses";
inline constexpr const char* kLegacyPrintRoot = "Enum\\USBPRINT";
inline constexpr const char* kLegacyUsbRoot = "Enum\\USB";

// Asks the spooler for the printer's level-2 record. False when the printer
// cannot be opened or its record read; the printer is closed on every path.
bool GetPrinterDriverAndPort(Spooler& spooler, const std::string& printerName,
                             std::string& driverName, std::string& portName);

// Driver and port, then the registry walk chosen by platformId (1 selects the
// Windows 95/98/Me walk, anything else the NT walk). path is set on success.
// Names the walk compares for equality are compared by text, without regard
// to case in the ANSI code page; an indirect string ("@file,%id%;text") by the
// text after its last ";".
bool ResolveDevicePath(Spooler& spooler, Registry& registry, Text& text,
                       const std::string& printerName, std::uint32_t platformId, std::string& path);
// The registry walk of ResolveDevicePath, for a printer whose driver and port
// are known.
bool WalkToDevicePath(Registry& registry, Text& text, const std::string& driverName,
                      const std::string& portName, std::uint32_t platformId, std::string& path);

// The three steps of each walk, exposed for tests.
namespace nt {
bool FindPrinterNode(Registry& registry, Text& text, const std::string& driverName,
                     const std::string& portName, std::string& prefix);
bool FindUsbDevice(Registry& registry, Text& text, const std::string& prefix,
                   std::string& deviceKey, std::string& instanceKey, std::string& guid);
bool FindInterfaceLink(Registry& registry, Text& text, const std::string& deviceKey,
                       const std::string& instanceKey, const std::string& guid, std::string& path);
}  // namespace nt

namespace legacy {
bool FindPrinterNode(Registry& registry, Text& text, const std::string& driverName,
                     const std::string& portName, std::string& vidPid, std::string& rest);
bool FindUsbDevice(Registry& registry, Text& text, const std::string& vidPid,
                   const std::string& rest, std::string& classPart, std::string& guidPart);
bool FindInterfaceLink(Registry& registry, Text& text, const std::string& classPart,
                       const std::string& guidPart, std::string& path);
}  // namespace legacy

}  // namespace hw
