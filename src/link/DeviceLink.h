// The one connection to the machine: frames direct and extended requests in
// the packet buffer, runs each as a transaction under the named system-wide
// mutex (data phase, trigger, polling until the reply is no longer pending),
// reads the reply's items back out, and passes bulk reads, writes and file
// sends straight through to the device channel.
//
// A link may be shared by two threads (the console and a measurement worker):
// each command, from building the request to reading its reply, and each
// connection operation holds the link's own lock, so that neither thread ever
// finds the packet buffer or the device handle in the middle of the other's
// command. Printer discovery and the printer list belong to one thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "link/DeviceChannel.h"
#include "link/PacketBuffer.h"
#include "platform/device/LinkPlatform.h"
#include "platform/files/File.h"

namespace hw {

// Request type bits of the count/type byte.
inline constexpr std::uint8_t kTypeBytes = 0x00;
inline constexpr std::uint8_t kTypeWords = 0x20;
inline constexpr std::uint8_t kTypeDwords = 0x40;
inline constexpr std::uint8_t kTypeFloats = 0x60;
// Largest item count the count/type byte holds.
inline constexpr int kMaxItemCount = 31;
// The command slot value that marks an extended request.
inline constexpr std::uint8_t kExtendedMarker = 0x38;
// How long a transaction waits for the mutex and for a pending reply.
inline constexpr std::uint32_t kTransactionTimeoutMs = 10000;

class DeviceLink {
  public:
    explicit DeviceLink(const LinkPlatform& platform);
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Command 100 with the mode byte, then, only if it succeeded, SendFile.
    virtual bool SendFileInMode(std::uint8_t mode, File& file);
    // True when more than 10000 ms have elapsed.
    virtual bool IsTimedOut(std::uint32_t elapsedMs) const;

    // Connection: each holds the command lock. Connect times its steps for
    // the start-up when a timer is given.
    bool Connect(const std::string& printerName, std::uint32_t requestIndex,
                 std::int32_t packetSize, bool overlapped, StartupTimer* startup = nullptr);
    bool Disconnect();
    bool CheckConnection();
    // Fills the printer list with the local printers whose driver name equals
    // driverName byte for byte (all of them when driverName is null). Returns
    // the list size, 0 when the spooler listed none, −1 when it failed.
    int FindPrinters(const char* driverName);
    // The list entry at index, or null when index is out of range.
    const std::string* PrinterName(int index) const;

    // Request builders: true only when the transaction succeeded. A request
    // whose header and items do not fit the payload, or whose count exceeds
    // kMaxItemCount, is refused with false and nothing written or sent.
    bool SendBytes(std::uint8_t cmd, const std::uint8_t* data, int n);
    bool SendByteCommand(std::uint8_t cmd, std::uint8_t value);
    bool SendCommand(std::uint8_t cmd);
    bool SendValueAndBytes(std::uint8_t cmd, std::uint8_t value, const std::uint8_t* data, int n);
    bool SendWords(std::uint8_t cmd, const std::uint16_t* words, int n);
    bool SendDwords(std::uint8_t cmd, std::uint16_t sub, const std::uint32_t* values, int n);
    bool SendFloats(std::uint8_t cmd, std::uint16_t sub, const float* values, int n);
    bool SendExtended(std::uint8_t cmd, std::uint8_t sub);
    bool SendExtendedBytes(std::uint8_t cmd, std::uint8_t sub, const std::uint8_t* data, int n);
    bool SendExtendedWords(std::uint8_t cmd, std::uint8_t sub, const std::uint16_t* words, int n);
    bool SendExtendedDwords(std::uint8_t cmd, std::uint8_t sub, const std::uint32_t* values, int n);

    // Reply readers: each sends its request with no items, then reads.
    int QueryBytes(std::uint8_t cmd, std::uint8_t* out, int cap);
    int QueryWords(std::uint8_t cmd, std::uint16_t* out, int cap);
    int QueryDwords(std::uint8_t cmd, std::uint16_t sub, std::uint32_t* out, int cap);
    int QueryExtendedWords(std::uint8_t cmd, std::uint8_t sub, std::uint16_t* out, int k);
    int QueryExtendedDwords(std::uint8_t cmd, std::uint8_t sub, std::uint32_t* out, int k);

    // Pass-throughs to the channel: no packet buffer, no named mutex; the
    // command lock keeps the handle in place while they run.
    int ReadRaw(void* buffer, int n);
    int WriteRaw(const void* buffer, int n);
    bool SendFile(File& file, const SendProgress& progress = {});
    // The state of the connected printer's queue (see DeviceChannel).
    bool QueryQueueState(QueueState& state);

    // Runs the request standing in the buffer as one locked, polled exchange.
    bool Transact();
    // Whether the last transaction ended because its time-out passed, waiting
    // for the mutex or for a reply that stayed pending.
    bool LastTransactionTimedOut() const { return lastTimedOut; }

    // Why the last command, bulk transfer or print job that failed since
    // ClearLastFailure failed, in the technician's terms ("command 99
    // answered status 2"); empty when none failed. For the activity log.
    std::string LastFailure() const;
    void ClearLastFailure();

    std::int32_t PacketSize() const { return packetSize; }
    const DeviceChannel& Channel() const { return channel; }
    const PacketBuffer& Buffer() const { return buffer; }

  protected:
    ~DeviceLink();

    // Held across one whole command: the request built in the buffer, its
    // transaction and the reading of its reply. Recursive, because readers
    // and catalogue operations hold it around the builders they call.
    using CommandLock = std::unique_lock<std::recursive_mutex>;
    [[nodiscard]] CommandLock LockCommand() const { return CommandLock(commandMutex); }

    void BeginRequest(std::uint8_t cmd, std::uint8_t countType);
    void BeginExtendedRequest(std::uint8_t cmd, std::uint8_t countType, std::uint8_t sub);

    // The platform services, for the catalogue and bulk transfers.
    const LinkPlatform& platform;
    DeviceChannel channel;
    PacketBuffer buffer;
    std::int32_t packetSize = 0;
    std::uint8_t lastCommand = 0;
    std::int32_t selection = -1;
    std::vector<std::string> printers;

  private:
    mutable std::recursive_mutex commandMutex;
    std::atomic<bool> lastTimedOut{false};

    bool Fits(int n, int itemWidth, int headerBytes) const;
    bool FinishRequest(int stored, int n);
    bool Exchange();
    // Record why what (a transfer, or the command being exchanged) failed;
    // both return false.
    bool Failed(std::string_view what, std::string_view why);
    bool CommandFailed(std::string_view why);

    std::uint8_t requestCommand = 0;
    std::string lastFailure;
};

}  // namespace hw
