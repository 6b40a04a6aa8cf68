// Resolving a machine's device path on a service PC that has seen many USB
// devices: the registry walk past thousands of unrelated keys under the
// printing, USB and device-class enumerations, with two machines among them.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "link/Discovery.h"
#include "sim/pc/SimEnvironment.h"

namespace {

constexpr const char* kSecondQueue = "QMV-240 (2)";
constexpr const char* kSecondPort = "USB002";

std::string Numbered(const char* stem, std::int64_t n) {
    return stem + std::to_string(10000 + n);
}

// One device the PC once saw: a USB device key with its instance; every
// second one a printer, with its printing node and an interface link in the
// printers' device class that the walk's last step looks through.
void AddUnrelatedDevice(hw::SimRegistry& registry, std::int64_t n) {
    const std::string device = Numbered("VID_1A86&PID_", n);
    const std::string serial = Numbered("SN", n);
    const std::string prefix = Numbered("6&", n) + "&0";
    const std::string usb = std::string(hw::kNtUsbRoot) + "\\" + device + "\\" + serial;
    registry.Set(usb, "ParentIdPrefix", prefix);
    const std::string link = "USB#" + device + "#" + serial + "#" + hw::kSimInterfaceGuid;
    registry.Set(usb + "\\Device Parameters", "SymbolicName", "\\??\\" + link);
    if (n % 2 != 0) return;
    registry.Set(std::string(hw::kNtPrintRoot) + "\\" + Numbered("Printer", n) + "\\" + prefix +
                     "&" + Numbered("USB", n),
                 "DeviceDesc", Numbered("Printer ", n));
    registry.Set(std::string(hw::kDeviceClassesRoot) + "\\" + hw::kSimInterfaceGuid + "\\##?#" +
                     link + "\\#",
                 "SymbolicLink", "\\\\?\\" + link);
}

// A registry of range(0) unrelated devices with the machine on USB001 half
// way through and a second machine on USB002 after them all, its queue beside
// the simulated PC's: keys enumerate in the order they were made, so the walk
// for the second machine passes every unrelated key.
void ResolveAmongUnrelatedKeys(benchmark::State& state) {
    hw::TestClock clock{1};
    hw::SimEnvironment env{clock};
    hw::SimRegistry registry;
    const std::int64_t unrelated = state.range(0);
    for (std::int64_t n = 0; n < unrelated; ++n) {
        if (n == unrelated / 2) hw::InstallNtMachineKeys(registry, hw::kSimPortName, "QMV0001");
        AddUnrelatedDevice(registry, n);
    }
    const std::string expected = hw::InstallNtMachineKeys(registry, kSecondPort, "QMV0002");
    env.Spooler().AddPrinter({kSecondQueue, kSecondPort, hw::kSimDriverName}, false);
    for (auto _ : state) {
        std::string path;
        if (!hw::ResolveDevicePath(env.Spooler(), registry, env.Text(), kSecondQueue,
                                   hw::kPlatformWin32Nt, path) ||
            path != expected) {
            state.SkipWithError("the second machine's device path was not found");
            break;
        }
        benchmark::DoNotOptimize(path);
    }
    state.SetComplexityN(unrelated);
}
BENCHMARK(ResolveAmongUnrelatedKeys)
    ->Arg(50)
    ->Arg(500)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
