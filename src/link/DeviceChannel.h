// The open connection to the machine's USB printer-class device: bulk reads
// and writes, the two vendor-request controls, the device-ID query, re-opening
// after the device comes back, and a file spooled as one raw print job.
#pragma once

#include <cstdint>
#include <string>

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

class DeviceChannel {
  public:
    explicit DeviceChannel(const LinkPlatform& platform);
    ~DeviceChannel();
    DeviceChannel(const DeviceChannel&) = delete;
    DeviceChannel& operator=(const DeviceChannel&) = delete;

    bool Open(const std::string& printerName, bool overlapped);
    bool Close();
    bool CheckConnection();

    int Read(void* buffer, int n);
    int Write(const void* buffer, int n);
    bool VendorSet(const std::uint8_t* block, std::uint32_t length);
    bool VendorGet(std::uint8_t* block, std::uint32_t length);
    bool QueryDeviceId(void* buffer, std::uint32_t length);
    // Spools the file, from its current position to its end, to the recorded
    // printer as one raw job. False when the printer cannot be opened, a
    // piece does not reach it, the file cannot be read or the job cannot be
    // ended; the job is then aborted, so that nothing of it is printed.
    // Shows nothing, except the out-of-memory box when its piece buffer
    // cannot be had.
    bool SendFile(File& file);
    // The state of the recorded printer's queue. False when the printer
    // cannot be opened or its record read.
    bool QueryQueueState(QueueState& state);

    bool IsHandleValid() const { return handle != kInvalidHandle; }
    const std::string& PrinterName() const { return printerName; }
    const std::string& DevicePath() const { return devicePath; }
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
    std::string mutexName;
    std::uint32_t openFlags = 0;
};

}  // namespace hw
