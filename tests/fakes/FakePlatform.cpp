#include "fakes/FakePlatform.h"

#include <algorithm>

#include "sim/pc/SimEnvironment.h"

namespace hw::test {

OsHandle FakeLocks::Create(const std::string& name, bool& accessDenied) {
    accessDenied = false;
    if (createFails) return kNullHandle;
    if (recordCalls) created.push_back(name);
    ++open;
    return 0x77;
}

OsHandle FakeLocks::OpenToWait(const std::string&) {
    return kNullHandle;
}

WaitOutcome FakeLocks::Wait(OsHandle, std::uint32_t timeoutMs) {
    if (recordCalls) waits.push_back(timeoutMs);
    return outcome;
}

void FakeLocks::Release(OsHandle) {
    ++releases;
}

void FakeLocks::Close(OsHandle) {
    ++closes;
    --open;
}

std::uint32_t FakeSystem::TickCount() {
    return now.fetch_add(step.load());
}

void FakeSystem::Sleep(std::uint32_t ms) {
    sleeps.push_back(ms);
    now += ms;
}

bool FakeSystem::QueryPlatformId(std::uint32_t& id) {
    if (versionFails) return false;
    id = platformId;
    return true;
}

bool FakeSystem::QueryOsVersion(OsVersion& version) {
    if (versionFails) return false;
    version = {platformId, 10, 0, 19045};
    return true;
}

EnumOutcome FakeSpooler::EnumLocalPrinters(std::vector<PrinterRecord>& records) {
    if (onEnumerate) onEnumerate();
    records.clear();
    if (enumOutcome == EnumOutcome::Listed) records = printers;
    return enumOutcome;
}

OsHandle FakeSpooler::OpenPrinter(const std::string& name) {
    const bool known = std::any_of(printers.begin(), printers.end(),
                                   [&](const PrinterRecord& r) { return r.printerName == name; });
    if (!known || unopenable.count(name) != 0) return kNullHandle;
    ++openPrinters;
    handles[nextHandle] = name;
    return nextHandle++;
}

bool FakeSpooler::GetPrinterRecord(OsHandle printer, PrinterRecord& record) {
    const auto& name = handles.at(printer);
    if (unreadable.count(name) != 0) return false;
    for (const auto& r : printers) {
        if (r.printerName == name) record = r;
    }
    return true;
}

bool FakeSpooler::GetQueueState(OsHandle printer, QueueState& state) {
    const auto& name = handles.at(printer);
    if (unreadable.count(name) != 0) return false;
    const auto found = states.find(name);
    state = found == states.end() ? QueueState::Ready : found->second;
    return true;
}

bool FakeSpooler::StartRawDocument(OsHandle printer, const char* documentName) {
    jobs.push_back({handles.at(printer), documentName, 0, {}, {}, false});
    return true;
}

bool FakeSpooler::StartPage(OsHandle) {
    if (!jobs.empty()) ++jobs.back().pages;
    return true;
}

bool FakeSpooler::WritePrinter(OsHandle, const void* data, std::uint32_t n,
                               std::uint32_t& written) {
    written = 0;
    if (jobs.empty()) return false;
    jobs.back().writeSizes.push_back(n);
    if (failingWrites.count(writeCalls++) != 0) return false;
    if (acceptsNothing) return true;
    written = writeLimit == 0 ? n : std::min(n, writeLimit);
    auto* bytes = static_cast<const std::uint8_t*>(data);
    jobs.back().data.insert(jobs.back().data.end(), bytes, bytes + written);
    return true;
}

bool FakeSpooler::EndPage(OsHandle) {
    return true;
}

bool FakeSpooler::EndDocument(OsHandle) {
    if (!jobs.empty()) jobs.back().ended = true;
    return true;
}

bool FakeSpooler::AbortJob(OsHandle) {
    if (!jobs.empty()) jobs.back().aborted = true;
    return true;
}

void FakeSpooler::ClosePrinter(OsHandle printer) {
    handles.erase(printer);
    --openPrinters;
}

std::string FakePlatform::InstallMachine(const std::string& printerName, const std::string& port,
                                         const std::string& serial) {
    spooler.printers.push_back({printerName, port, kMachineDriver});
    const std::string path = InstallNtMachineKeys(registry, port, serial);
    device.openablePaths.insert(path);
    return path;
}

}  // namespace hw::test
