// The open connection to the machine's USB printer-class device: bulk reads
// and writes, the two vendor-request controls, the device-ID query, re-opening
// after the device comes back, and a file spooled as one raw print job.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "link/StartupTimer.h"
#include "platform/device/LinkPlatform.h"
#include "platform/files/File.h"

namespace hw {

// Device control codes of the USB printer-class driver.
inline constexpr std::uint32_t kIoctlVendorSetCommand = 0x00220038;
inline constexpr std::uint32_t kIoctlVendorGetCommand = 0x0022003C;
inline constexpr std::uint32_t kIoctlQueryDeviceId = 0x0016000C;

// Size of a piece that SendFile reads from the file.
inline constexpr std::uint32_t kSendFilePiece = 32768;
inline constexpr const char* kSendFileDocumentName = "Updater";

// Told when a file send starts and after each piece has reached the
// printer, with the bytes sent so far; returns false to stop the send.
using SendProgress = std::function<bool(std::uint64_t sent)>;

class DeviceChannel {
  public:
    explicit DeviceChannel(const LinkPlatform& platform);
    ~DeviceChannel();
    DeviceChannel(const DeviceChannel&) = delete;
    DeviceChannel& operator=(const DeviceChannel&) = delete;

    // Resolves the queue's device path and opens it, each timed for the
    // start-up when a timer is given.
    bool Open(const std::string& printerName, bool overlapped, StartupTimer* startup = nullptr);
    bool Close();
    bool CheckConnection();

    int Read(void* buffer, int n);
    int Write(const void* buffer, int n);
    bool VendorSet(const std::uint8_t* block, std::uint32_t length);
    bool VendorGet(std::uint8_t* block, std::uint32_t length);
    bool QueryDeviceId(void* buffer, std::uint32_t length);
    // Spools the file, from its current position to its end, to the recorded
    // printer as one raw job, telling progress (when given) at the start and
    // after each piece.
    // False when the printer cannot be opened, a piece does not reach it, the
    // file cannot be read, progress asks to stop or the job cannot be ended;
    // the job is then aborted, so that nothing of it is printed. Shows
    // nothing, except the out-of-memory box when its piece buffer cannot be
    // had.
    bool SendFile(File& file, const SendProgress& progress = {});
    // The state of the recorded printer's queue. False when the printer
    // cannot be opened or its record read.
    bool QueryQueueState(QueueState& state);

    bool IsHandleValid() const { return handle != kInvalidHandle; }
    const std::string& PrinterName() const { return printerName; }
    const std::string& DevicePath() const { return devicePath; }
    // The port of the queue last resolved (its spooler record names it).
    const std::string& PortName() const { return portName; }
    // "Global\" + the printer name, built whenever the printer name is
    // recorded, so that transactions do not build it again.
    const std::string& MutexName() const { return mutexName; }
    std::uint32_t OpenFlags() const { return openFlags; }

  private:
    // The device path of the queue, found by discovery.
    bool Resolve(const std::string& name, std::string& path);
    bool Rediscover();
    void RecordPrinter(const std::string& name, const std::string& path);
    void ForgetPrinter();
    bool WritePiece(OsHandle printer, const std::uint8_t* data, std::uint32_t n);

    const LinkPlatform& platform;
    OsHandle handle = kInvalidHandle;
    std::string printerName;
    std::string devicePath;
    std::string portName;
    std::string mutexName;
    std::uint32_t openFlags = 0;
};

}  // namespace hw
