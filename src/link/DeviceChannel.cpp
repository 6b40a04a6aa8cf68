#include "link/DeviceChannel.h"

#include <memory>
#include <new>

#include "link/Discovery.h"
#include "link/OpenedPrinter.h"
#include "platform/files/FileErrors.h"

namespace hw {

namespace {

// Length given to the device-ID query: two bytes short of its 4096-byte buffer.
constexpr std::uint32_t kDeviceIdBuffer = 4096;
constexpr std::uint32_t kDeviceIdAsked = 4094;

// One raw print job. A job that was not finished is aborted at the spooler,
// so that no part of it is printed; the printer is closed on every path.
class RawJob {
  public:
    RawJob(Spooler& spooler, const std::string& printerName)
        : spooler(spooler), printer(spooler, printerName) {}
    ~RawJob() {
        if (started) spooler.AbortJob(printer.Handle());
    }
    RawJob(const RawJob&) = delete;
    RawJob& operator=(const RawJob&) = delete;

    bool IsOpen() const { return printer.IsOpen(); }
    OsHandle Printer() const { return printer.Handle(); }
    void Start() {
        spooler.StartRawDocument(printer.Handle(), kSendFileDocumentName);
        spooler.StartPage(printer.Handle());
        started = true;
    }
    // Ends the page and the document: the spooler prints the job. A document
    // the spooler would not end is aborted as well, so that it cannot be
    // printed later; false then.
    bool Finish() {
        spooler.EndPage(printer.Handle());
        if (!spooler.EndDocument(printer.Handle())) return false;
        started = false;
        return true;
    }

  private:
    Spooler& spooler;
    OpenedPrinter printer;
    bool started = false;
};

}  // namespace

DeviceChannel::DeviceChannel(const LinkPlatform& platform) : platform(platform) {}

DeviceChannel::~DeviceChannel() {
    Close();
}

void DeviceChannel::RecordPrinter(const std::string& name, const std::string& path) {
    printerName = name;
    devicePath = path;
    mutexName = "Global\\" + name;
}

void DeviceChannel::ForgetPrinter() {
    printerName.clear();
    devicePath.clear();
    mutexName.clear();
}

bool DeviceChannel::Resolve(const std::string& name, std::string& path) {
    std::uint32_t platformId = 0;
    std::string driver;
    return platform.system.QueryPlatformId(platformId) &&
           GetPrinterDriverAndPort(platform.spooler, name, driver, portName) &&
           WalkToDevicePath(platform.registry, platform.text, driver, portName, platformId, path);
}

bool DeviceChannel::Open(const std::string& name, bool overlapped, StartupTimer* startup) {
    Close();
    std::string path;
    if (!Timed(startup, StartupPart::Registry, [&] { return Resolve(name, path); })) return false;
    // Recorded before the open, so that a failed open can be retried later.
    RecordPrinter(name, path);
    openFlags = overlapped ? (kFileFlagOverlapped | kFileAttributeNormal) : kFileAttributeNormal;
    handle = Timed(startup, StartupPart::Device,
                   [this] { return platform.files.Open(devicePath, openFlags); });
    return IsHandleValid();
}

bool DeviceChannel::Close() {
    if (!IsHandleValid()) return true;
    if (!platform.files.Close(handle)) return false;
    handle = kInvalidHandle;
    ForgetPrinter();
    return true;
}

bool DeviceChannel::CheckConnection() {
    char id[kDeviceIdBuffer];
    if (QueryDeviceId(id, kDeviceIdAsked)) return true;
    if (devicePath.empty()) return false;
    if (IsHandleValid()) platform.files.Close(handle);
    handle = platform.files.Open(devicePath, openFlags);
    return IsHandleValid() || Rediscover();
}

// Plugged into another port, a machine without a USB serial number becomes
// a new device instance with a new interface path: the queue is resolved
// again, and a path that differs from the recorded one is opened instead.
bool DeviceChannel::Rediscover() {
    std::string path;
    if (!Resolve(printerName, path) || path == devicePath) return false;
    devicePath = path;
    handle = platform.files.Open(devicePath, openFlags);
    return IsHandleValid();
}

int DeviceChannel::Read(void* buffer, int n) {
    std::uint32_t done = 0;
    if (n < 0) return -1;
    if (!platform.files.Read(handle, buffer, static_cast<std::uint32_t>(n), done)) return -1;
    return static_cast<int>(done);
}

int DeviceChannel::Write(const void* buffer, int n) {
    std::uint32_t done = 0;
    if (n < 0) return -1;
    if (!platform.files.Write(handle, buffer, static_cast<std::uint32_t>(n), done)) return -1;
    return static_cast<int>(done);
}

bool DeviceChannel::VendorSet(const std::uint8_t* block, std::uint32_t length) {
    std::uint32_t returned = 0;
    return platform.files.Control(handle, kIoctlVendorSetCommand, block, length, nullptr, 0,
                                  returned);
}

// A reply shorter than asked would leave bytes of an earlier reply behind
// it, to be read as items of this one: it is a failed read.
bool DeviceChannel::VendorGet(std::uint8_t* block, std::uint32_t length) {
    std::uint32_t returned = 0;
    if (length < 3) return false;
    return platform.files.Control(handle, kIoctlVendorGetCommand, block, 3, block + 3, length - 3,
                                  returned) &&
           returned >= length - 3;
}

bool DeviceChannel::QueryDeviceId(void* buffer, std::uint32_t length) {
    std::uint32_t returned = 0;
    return platform.files.Control(handle, kIoctlQueryDeviceId, nullptr, 0, buffer, length,
                                  returned);
}

bool DeviceChannel::WritePiece(OsHandle printer, const std::uint8_t* data, std::uint32_t n) {
    std::uint32_t total = 0;
    while (total < n) {
        std::uint32_t written = 0;
        // A call that succeeds but takes nothing would repeat forever: it fails the send.
        if (!platform.spooler.WritePrinter(printer, data + total, n - total, written) ||
            written == 0) {
            return false;
        }
        total += written;
    }
    return true;
}

// A file that cannot be read, a piece that does not reach the printer, or a
// stop asked for by progress aborts the job and fails the send; what the
// technician is told is left to the caller.
bool DeviceChannel::SendFile(File& file, const SendProgress& progress) {
    std::unique_ptr<std::uint8_t[]> piece(new (std::nothrow) std::uint8_t[kSendFilePiece]);
    if (!piece) {
        platform.alerts.ShowOutOfMemory();
        return false;
    }
    RawJob job(platform.spooler, printerName);
    if (!job.IsOpen()) return false;
    job.Start();
    std::uint64_t sent = 0;
    if (progress && !progress(sent)) return false;
    try {
        for (;;) {
            const std::uint32_t n = file.Read(piece.get(), kSendFilePiece);
            if (n == 0) return job.Finish();
            if (!WritePiece(job.Printer(), piece.get(), n)) return false;
            sent += n;
            if (progress && !progress(sent)) return false;
        }
    } catch (const FrameworkException&) {
        return false;
    }
}

bool DeviceChannel::QueryQueueState(QueueState& state) {
    const OpenedPrinter printer(platform.spooler, printerName);
    return printer.IsOpen() && platform.spooler.GetQueueState(printer.Handle(), state);
}

}  // namespace hw
