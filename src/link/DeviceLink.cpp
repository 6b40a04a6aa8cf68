#include "link/DeviceLink.h"

#include <algorithm>
#include <string>

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
                         std::int32_t size, bool overlapped, StartupTimer* startup) {
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
    return channel.Open(printerName, overlapped, startup);
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
    if (channel.PrinterName().empty() || !buffer.HasBlock())
        return Failed("a command", "no machine connected");
    // The request's own command, kept for the failure text: the reply
    // overwrites it.
    requestCommand = buffer.PayloadSize() > 2 ? buffer.Block()[PacketBuffer::kHeaderSize + 2] : 0;
    TransactionLock lock(platform.locks, channel.MutexName());
    if (!lock.Created()) return CommandFailed("the machine's lock could not be opened");
    const WaitOutcome wait = lock.Acquire(kTransactionTimeoutMs);
    lastTimedOut = wait == WaitOutcome::TimedOut;
    if (wait != WaitOutcome::Acquired) return CommandFailed("the machine's lock was not free");
    return Exchange();
}

std::string DeviceLink::LastFailure() const {
    const auto lock = LockCommand();
    return lastFailure;
}

void DeviceLink::ClearLastFailure() {
    const auto lock = LockCommand();
    lastFailure.clear();
}

bool DeviceLink::Failed(std::string_view what, std::string_view why) {
    lastFailure = std::string(what) + ": " + std::string(why);
    return false;
}

bool DeviceLink::CommandFailed(std::string_view why) {
    // An extended request carries its command after the marker and the count.
    const bool extended = lastCommand == kExtendedMarker;
    const std::uint8_t number = extended ? requestCommand : lastCommand;
    return Failed((extended ? "extended command " : "command ") + std::to_string(number), why);
}

bool DeviceLink::Exchange() {
    // Data phase: the whole request with its command slot still 0.
    buffer.RewindWrite();
    buffer.PutByte(0);
    const auto blockSize = static_cast<std::uint32_t>(buffer.BlockSize());
    if (!channel.VendorSet(buffer.Block(), blockSize))
        return CommandFailed("the device did not take the request");
    // Trigger: the command byte alone sets the machine going.
    buffer.RewindWrite();
    buffer.PutByte(lastCommand);
    if (!channel.VendorSet(buffer.Block(), std::min(kTriggerLength, blockSize)))
        return CommandFailed("the device did not take the request");

    const std::uint32_t start = platform.system.TickCount();
    if (!channel.IsHandleValid()) return CommandFailed("the device went away");
    for (;;) {
        if (IsTimedOut(platform.system.TickCount() - start)) {
            lastTimedOut = true;
            return CommandFailed("no answer within 10 s");
        }
        if (!channel.VendorGet(buffer.Block(), blockSize))
            return CommandFailed("the device did not answer");
        buffer.RewindRead();
        const std::uint8_t status = buffer.GetByte();
        if (status != lastCommand) {
            buffer.GetByte();
            return status == 0 || CommandFailed("answered status " + std::to_string(status));
        }
        if (!channel.IsHandleValid()) return CommandFailed("the device went away");
    }
}

int DeviceLink::ReadRaw(void* data, int n) {
    const auto lock = LockCommand();
    const int done = channel.Read(data, n);
    if (done < 0) Failed("a bulk read", "the device refused it");
    return done;
}

int DeviceLink::WriteRaw(const void* data, int n) {
    const auto lock = LockCommand();
    const int done = channel.Write(data, n);
    if (done < 0) Failed("a bulk write", "the device refused it");
    return done;
}

bool DeviceLink::SendFile(File& file, const SendProgress& progress) {
    const auto lock = LockCommand();
    return channel.SendFile(file, progress) ||
           Failed("the print job", "it did not reach the queue");
}

bool DeviceLink::QueryQueueState(QueueState& state) {
    const auto lock = LockCommand();
    return channel.QueryQueueState(state);
}

}  // namespace hw
