#include "sim/pc/SimEnvironment.h"

#include "link/Discovery.h"

namespace hw {

namespace {

// The interface path of the machine's USB device with that serial number.
std::string InterfacePath(const std::string& serial) {
    return std::string("\\\\?\\USB#") + kSimUsbDevice + "#" + serial + "#" + kSimInterfaceGuid;
}

// Each machine's device hands out handles from a range of its own.
constexpr OsHandle kHandleRange = 0x10000;

std::unique_ptr<SimPluggedMachine> Plug(SimClock& clock, const SimConfig& config,
                                        const std::string& queue, const std::string& port,
                                        std::size_t index) {
    return std::make_unique<SimPluggedMachine>(clock, config, queue + " on " + port,
                                               InterfacePath(config.serial),
                                               0x200 + kHandleRange * index);
}

std::vector<std::unique_ptr<SimPluggedMachine>> FirstMachine(SimClock& clock,
                                                             const SimConfig& config) {
    std::vector<std::unique_ptr<SimPluggedMachine>> machines;
    machines.push_back(Plug(clock, config, kSimQueueName, kSimPortName, 0));
    return machines;
}

}  // namespace

SimConfig SecondMachineConfig() {
    SimConfig config;
    config.version = "QMV-240 V1.48 PNL-J";
    config.serial = "QMV0342";
    config.spindleMinutes = 1210;
    config.pumpMinutes = 980;
    return config;
}

SimEnvironment::SimEnvironment(SimClock& clock, const SimConfig& config, std::uint32_t platformId)
    : clock_(clock),
      machines_(FirstMachine(clock, config)),
      locks_(clock),
      system_(clock),
      spooler_(machines_.front()->files),
      platform_{bus_, locks_, system_, spooler_, registry_, alerts_, text_} {
    bus_.Attach(machines_.front()->files);
    system_.platformId = platformId;
    InstallPrinters();
    if (platformId == kPlatformWin32Windows) {
        InstallLegacyRegistry(config.serial);
    } else {
        InstallNtRegistry(config.serial);
    }
}

void SimEnvironment::AddMachine(const std::string& queue, const std::string& port,
                                const SimConfig& config) {
    auto& machine = *machines_.emplace_back(Plug(clock_, config, queue, port, machines_.size()));
    bus_.Attach(machine.files);
    if (deviceListener_) machine.files.OnDeviceChange(deviceListener_);
    spooler_.AddMachinePrinter({queue, port, kSimDriverName}, machine.files);
    InstallNtMachineKeys(registry_, port, config.serial);
}

SimPluggedMachine& SimEnvironment::Acting() const {
    const SimDeviceFiles& files = bus_.LastOpened();
    for (const auto& machine : machines_) {
        if (&machine->files == &files) return *machine;
    }
    return *machines_.front();
}

void SimEnvironment::OnDeviceChange(std::function<void()> listener) {
    deviceListener_ = std::move(listener);
    for (const auto& machine : machines_) machine->files.OnDeviceChange(deviceListener_);
}

void SimEnvironment::InstallPrinters() {
    spooler_.AddPrinter({kSimOtherPrinter, "LPT1:", kSimOtherDriver}, false);
    spooler_.AddPrinter({kSimQueueName, kSimPortName, kSimDriverName}, true);
}

std::string InstallNtMachineKeys(SimRegistry& registry, const std::string& port,
                                 const std::string& serial) {
    const std::string prefix = "7&" + serial + "&0";
    registry.Set(std::string(kNtPrintRoot) + "\\VarnelQMV-240\\" + prefix + "&" + port,
                 "DeviceDesc", kSimDriverName);
    const std::string device = std::string(kNtUsbRoot) + "\\" + kSimUsbDevice + "\\" + serial;
    registry.Set(device, "ParentIdPrefix", prefix);
    registry.Set(
        device + "\\Device Parameters", "SymbolicName",
        "\\??\\USB#" + std::string(kSimUsbDevice) + "#" + serial + "#" + kSimInterfaceGuid);
    const std::string path = InterfacePath(serial);
    registry.Set(std::string(kDeviceClassesRoot) + "\\" + kSimInterfaceGuid + "\\##?#USB#" +
                     kSimUsbDevice + "#" + serial + "#" + kSimInterfaceGuid + "\\#",
                 "SymbolicLink", path);
    return path;
}

void SimEnvironment::InstallNtRegistry(const std::string& serial) {
    const std::string print = kNtPrintRoot;
    const std::string usb = kNtUsbRoot;
    const std::string classes = std::string(kDeviceClassesRoot) + "\\" + kSimInterfaceGuid;
    // A label printer once plugged in: a node the walk must pass over.
    registry_.Set(print + "\\LabelWriter\\6&2bd1&0&USB002", "DeviceDesc", "Label Writer 400");
    registry_.Set(usb + "\\VID_1A86&PID_7584\\LW0042", "ParentIdPrefix", "6&2bd1&0");
    registry_.Set(usb + "\\VID_1A86&PID_7584\\LW0042\\Device Parameters", "SymbolicName",
                  "\\??\\USB#VID_1A86&PID_7584#LW0042#" + std::string(kSimInterfaceGuid));
    registry_.Set(classes + "\\##?#USB#VID_1A86&PID_7584#LW0042#" + kSimInterfaceGuid + "\\#",
                  "SymbolicLink",
                  "\\\\?\\USB#VID_1A86&PID_7584#LW0042#" + std::string(kSimInterfaceGuid));
    // The machine.
    InstallNtMachineKeys(registry_, kSimPortName, serial);
}

void SimEnvironment::InstallLegacyRegistry(const std::string& serial) {
    const std::string node = std::string(kSimUsbDevice) + "&" + serial;
    registry_.Set(std::string(kLegacyPrintRoot) + "\\VARNELQMV-240\\" + node + "&" + kSimPortName,
                  "DeviceDesc", kSimDriverName);
    registry_.Set(
        std::string(kLegacyUsbRoot) + "\\" + kSimUsbDevice + "\\" + serial + "&" + kSimPortName,
        "SymbolicName", "\\DosDevices\\" + node + "#" + kSimInterfaceGuid);
    registry_.Set(std::string(kDeviceClassesRoot) + "\\" + kSimInterfaceGuid + "\\##.#" + node +
                      "#" + kSimInterfaceGuid + "\\#",
                  "SymbolicLink", InterfacePath(serial));
}

}  // namespace hw
