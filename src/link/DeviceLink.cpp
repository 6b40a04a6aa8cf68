#include "link/DeviceLink.h"

#include <algorithm>

namespace hw {

namespace {

// The named mutex of the queue. One that an elevated console or a service
// made first may refuse a standard user full access; waiting for it and
// releasing it are all a transaction needs, so it is opened for those.
OsHandle OpenLock(NamedLocks& locks, const std::string& name) {
    bool accessDenied = false;
    const OsHandle handle = locks.Create(name, accessDenied);
    return handle == kNullHandle && accessDenied ? locks.OpenToWait(name) : handle;
}

// The named mutex of one transaction: released and closed on every path.
class TransactionLock {
  public:
    TransactionLock(NamedLocks& locks, const std::string& name)
        : locks(locks), handle(OpenLock(locks, name)) {}
    ~TransactionLock() {
        if (handle == kNullHandle) return;
        locks.Release(handle);
        locks.Close(handle);
    }
    TransactionLock(const TransactionLock&) = delete;
    TransactionLock& operator=(const TransactionLock&) = delete;

    bool Created() const { return handle != kNullHandle; }
    WaitOutcome Acquire(std::uint32_t timeoutMs) { return locks.Wait(handle, timeoutMs); }

  private:
    NamedLocks& locks;
    OsHandle handle;
};

// The smallest payload that lets a request carry its command and count bytes.
constexpr std::int32_t kMinPacketSize = 2;

// Bytes of the vendor request that carry the trigger: header and command slot.
constexpr std::uint32_t kTriggerLength = 4;

}  // namespace

DeviceLink::DeviceLink(const LinkPlatform& platform) : platform(platform), channel(platform) {}

DeviceLink::~DeviceLink() = default;

bool DeviceLink::SendFileInMode(std::uint8_t mode, File& file) {
    return SendByteCommand(100, mode) && SendFile(file);
}

bool DeviceLink::IsTimedOut(std::uint32_t elapsedMs) const {
    return elapsedMs > kTransactionTimeoutMs;
}

bool DeviceLink::Connect(const std::string& printerName, std::uint32_t requestIndex,
                         std::int32_t size, bool overlapped) {
    const auto lock = LockCommand();
    if (size < kMinPacketSize) return false;
    packetSize = size;
    selection = -1;
    switch (buffer.Allocate(requestIndex, size)) {
        case PacketBuffer::AllocateOutcome::Refused:
            return false;
        case PacketBuffer::AllocateOutcome::OutOfMemory:
            platform.alerts.ShowOutOfMemory();
            return false;
        case PacketBuffer::AllocateOutcome::Done:
            break;
    }
    return channel.Open(printerName, overlapped);
}

bool DeviceLink::Disconnect() {
    const auto lock = LockCommand();
    return channel.Close();
}

bool DeviceLink::CheckConnection() {
    const auto lock = LockCommand();
    return channel.CheckConnection();
}

bool DeviceLink::Transact() {
    const auto command = LockCommand();
    lastTimedOut = false;
    if (channel.PrinterName().empty() || !buffer.HasBlock()) return false;
    TransactionLock lock(platform.locks, channel.MutexName());
    if (!lock.Created()) return false;
    const WaitOutcome wait = lock.Acquire(kTransactionTimeoutMs);
    lastTimedOut = wait == WaitOutcome::TimedOut;
    if (wait != WaitOutcome::Acquired) return false;
    return Exchange();
}

bool DeviceLink::Exchange() {
    // Data phase: the whole request with its command slot still 0.
    buffer.RewindWrite();
    buffer.PutByte(0);
    const auto blockSize = static_cast<std::uint32_t>(buffer.BlockSize());
    if (!channel.VendorSet(buffer.Block(), blockSize)) return false;
    // Trigger: the command byte alone sets the machine going.
    buffer.RewindWrite();
    buffer.PutByte(lastCommand);
    if (!channel.VendorSet(buffer.Block(), std::min(kTriggerLength, blockSize))) return false;

    const std::uint32_t start = platform.system.TickCount();
    if (!channel.IsHandleValid()) return false;
    for (;;) {
        if (IsTimedOut(platform.system.TickCount() - start)) {
            lastTimedOut = true;
            return false;
        }
        if (!channel.VendorGet(buffer.Block(), blockSize)) return false;
        buffer.RewindRead();
        const std::uint8_t status = buffer.GetByte();
        if (status != lastCommand) {
            buffer.GetByte();
            return status == 0;
        }
        if (!channel.IsHandleValid()) return false;
    }
}

int DeviceLink::ReadRaw(void* data, int n) {
    const auto lock = LockCommand();
    return channel.Read(data, n);
}

int DeviceLink::WriteRaw(const void* data, int n) {
    const auto lock = LockCommand();
    return channel.Write(data, n);
}

bool DeviceLink::SendFile(File& file) {
    const auto lock = LockCommand();
    return channel.SendFile(file);
}

}  // namespace hw
