#include "fakes/FakePlatform.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "link/Discovery.h"

namespace hw::test {

OsHandle FakeLocks::Create(const std::string& name) {
    if (createFails) return kNullHandle;
    if (recordCalls) created.push_back(name);
    ++open;
    return 0x77;
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
    const std::uint32_t t = now;
    now += step;
    return t;
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

void FakeAlerts::ReportError(const FrameworkException& error) {
    std::string text = error.ErrorMessage();
    reports.push_back(text.empty() ? "No error message is available." : text);
}

EnumOutcome FakeSpooler::EnumLocalPrinters(std::vector<PrinterRecord>& records) {
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

void FakeSpooler::ClosePrinter(OsHandle printer) {
    handles.erase(printer);
    --openPrinters;
}

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const auto end = std::min(path.find('\\', start), path.size());
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string Join(const std::string& parent, const std::string& child) {
    return parent.empty() ? child : parent + "\\" + child;
}

}  // namespace

void FakeRegistry::Set(const std::string& path, const std::string& name, const std::string& value) {
    Node* node = &root;
    for (const auto& part : SplitPath(path)) {
        auto& child = node->children[Lower(part)];
        if (!child) {
            child = std::make_unique<Node>();
            node->order.push_back(part);
        }
        node = child.get();
    }
    if (!name.empty()) node->values[Lower(name)] = value;
}

FakeRegistry::Node* FakeRegistry::Find(const std::string& path) {
    Node* node = &root;
    for (const auto& part : SplitPath(path)) {
        auto it = node->children.find(Lower(part));
        if (it == node->children.end()) return nullptr;
        node = it->second.get();
    }
    return node;
}

std::string FakeRegistry::PathOf(OsHandle key) const {
    if (key == kLocalMachineKey) return "";
    return handles.at(key);
}

bool FakeRegistry::OpenKey(OsHandle parent, const std::string& subkey, OsHandle& key) {
    const std::string path = Join(PathOf(parent), subkey);
    if (unopenable.count(path) != 0 || Find(path) == nullptr) return false;
    key = nextHandle++;
    handles[key] = path;
    ++openKeys;
    return true;
}

EnumKeyOutcome FakeRegistry::EnumSubkey(OsHandle key, std::uint32_t index, std::string& name) {
    const std::string path = PathOf(key);
    if (unenumerable.count(path) != 0) return EnumKeyOutcome::Failed;
    Node* node = Find(path);
    if (node == nullptr) return EnumKeyOutcome::Failed;
    if (index >= node->order.size()) return EnumKeyOutcome::NoMoreItems;
    name = node->order[index].substr(0, kRegistryTextMax);
    return EnumKeyOutcome::Found;
}

bool FakeRegistry::QueryValue(OsHandle key, const std::string& valueName, std::string& value) {
    Node* node = Find(PathOf(key));
    if (node == nullptr) return false;
    auto it = node->values.find(Lower(valueName));
    if (it == node->values.end()) return false;
    value = it->second.substr(0, std::min(it->second.find('\0'), kRegistryTextMax));
    return true;
}

void FakeRegistry::CloseKey(OsHandle key) {
    if (handles.erase(key) != 0) --openKeys;
}

std::string FakePlatform::InstallMachine(const std::string& printerName, const std::string& port,
                                         const std::string& serial) {
    const std::string guid = "{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
    const std::string usbDevice = "VID_0F2A&PID_0240";
    const std::string parentPrefix = "7&" + serial + "&0";
    spooler.printers.push_back({printerName, port, kMachineDriver});
    registry.Set(std::string(kNtPrintRoot) + "\\VarnelQMV-240\\" + parentPrefix + "&" + port,
                 "DeviceDesc", kMachineDriver);
    const std::string usbKey = std::string(kNtUsbRoot) + "\\" + usbDevice + "\\" + serial;
    registry.Set(usbKey, "ParentIdPrefix", parentPrefix);
    registry.Set(usbKey + "\\Device Parameters", "SymbolicName",
                 "\\??\\USB#" + usbDevice + "#" + serial + "#" + guid);
    const std::string path = "\\\\?\\USB#" + usbDevice + "#" + serial + "#" + guid;
    registry.Set(std::string(kDeviceClassesRoot) + "\\" + guid + "\\##?#USB#" + usbDevice + "#" +
                     serial + "#" + guid + "\\#",
                 "SymbolicLink", path);
    device.openablePaths.insert(path);
    return path;
}

}  // namespace hw::test
