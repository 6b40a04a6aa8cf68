// Test doubles for the named lock, the clock and the spooler, and a bundle
// that wires them with a FakeDevice and the simulated PC's registry and
// alerts into a LinkPlatform.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fakes/FakeDevice.h"
#include "platform/device/LinkPlatform.h"
#include "sim/pc/SimRegistry.h"
#include "sim/pc/SimSystem.h"
#include "sim/pc/SimText.h"

namespace hw::test {

class FakeLocks final : public NamedLocks {
  public:
    WaitOutcome outcome = WaitOutcome::Acquired;
    bool createFails = false;
    bool recordCalls = true;

    std::vector<std::string> created;  // names, in order
    std::vector<std::uint32_t> waits;  // time-outs asked
    int releases = 0;
    int closes = 0;
    int open = 0;  // handles not yet closed

    OsHandle Create(const std::string& name, bool& accessDenied) override;
    OsHandle OpenToWait(const std::string& name) override;
    WaitOutcome Wait(OsHandle lock, std::uint32_t timeoutMs) override;
    void Release(OsHandle lock) override;
    void Close(OsHandle lock) override;
};

// A test clock: each TickCount() call returns the current time and then
// advances it by step, so polling loops see time pass. The clock never
// stands still by default, so that a loop waiting for a machine that does
// not answer reaches its time-out or stall limit (after about 10000
// readings) and fails instead of hanging the test. The time is atomic,
// because a measuring worker sleeps while the console's thread reads it.
class FakeSystem final : public System {
  public:
    std::atomic<std::uint32_t> now{0};
    std::atomic<std::uint32_t> step{1};
    // The fine clock, in microseconds: it moves only when a test moves it.
    std::atomic<std::uint64_t> microseconds{0};
    std::uint32_t platformId = kPlatformWin32Nt;
    bool versionFails = false;
    std::vector<std::uint32_t> sleeps;
    LocalTime localTime{2026, 12, 9, 10, 30, 0};

    std::uint32_t TickCount() override;
    std::uint64_t MicrosecondCount() override { return microseconds; }
    void Sleep(std::uint32_t ms) override;
    LocalTime Now() override { return localTime; }
    bool QueryPlatformId(std::uint32_t& id) override;
    bool QueryOsVersion(OsVersion& version) override;
};

struct PrintJob {
    std::string printer;
    std::string documentName;
    int pages = 0;
    std::vector<std::uint32_t> writeSizes;  // n of each WritePrinter call
    std::vector<std::uint8_t> data;         // bytes the spooler took
    bool ended = false;
    bool aborted = false;
};

class FakeSpooler final : public Spooler {
  public:
    std::vector<PrinterRecord> printers;
    EnumOutcome enumOutcome = EnumOutcome::Listed;
    std::set<std::string> unopenable;          // OpenPrinter fails
    std::set<std::string> unreadable;          // GetPrinterRecord and GetQueueState fail
    std::map<std::string, QueueState> states;  // queues not listed are ready
    std::set<std::size_t> failingWrites;       // WritePrinter call indices that fail
    std::uint32_t writeLimit = 0;              // most bytes one call takes (0 = all)
    bool acceptsNothing = false;               // WritePrinter succeeds but takes no byte
    std::function<void()> onEnumerate;         // called as the printers are listed

    std::vector<PrintJob> jobs;
    int openPrinters = 0;  // opened and not yet closed
    std::size_t writeCalls = 0;

    EnumOutcome EnumLocalPrinters(std::vector<PrinterRecord>& records) override;
    OsHandle OpenPrinter(const std::string& name) override;
    bool GetPrinterRecord(OsHandle printer, PrinterRecord& record) override;
    bool GetQueueState(OsHandle printer, QueueState& state) override;
    bool StartRawDocument(OsHandle printer, const char* documentName) override;
    bool StartPage(OsHandle printer) override;
    bool WritePrinter(OsHandle printer, const void* data, std::uint32_t n,
                      std::uint32_t& written) override;
    bool EndPage(OsHandle printer) override;
    bool EndDocument(OsHandle printer) override;
    bool AbortJob(OsHandle printer) override;
    void ClosePrinter(OsHandle printer) override;

  private:
    std::map<OsHandle, std::string> handles;
    OsHandle nextHandle = 0x500;
};

// Every fake, wired into the LinkPlatform a link takes.
struct FakePlatform {
    FakeDevice device;
    FakeLocks locks;
    FakeSystem system;
    FakeSpooler spooler;
    SimRegistry registry;
    SimAlerts alerts;
    SimText text;
    LinkPlatform platform{device, locks, system, spooler, registry, alerts, text};

    // Installs one machine queue: a printer with the machine's driver and
    // port, the NT registry keys that resolve it (those of the simulated PC)
    // and an openable device path. Returns that path.
    std::string InstallMachine(const std::string& printerName, const std::string& port,
                               const std::string& serial);
};

inline constexpr const char* kMachineDriver = "Varnel QMV-240";

}  // namespace hw::test
