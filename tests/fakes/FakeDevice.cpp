#include "fakes/FakeDevice.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "link/DeviceChannel.h"

namespace hw::test {

std::vector<std::uint8_t> Reply(std::initializer_list<std::uint8_t> bytes) {
    return bytes;
}

std::size_t FakeDevice::VendorGetCount() const {
    return static_cast<std::size_t>(std::count_if(controls.begin(), controls.end(), [](auto& c) {
        return c.code == kIoctlVendorGetCommand;
    }));
}

std::size_t FakeDevice::VendorSetCount() const {
    return static_cast<std::size_t>(std::count_if(controls.begin(), controls.end(), [](auto& c) {
        return c.code == kIoctlVendorSetCommand;
    }));
}

OsHandle FakeDevice::Open(const std::string& path, std::uint32_t flagsAndAttributes) {
    if (onOpen) onOpen();
    opens.emplace_back(path, flagsAndAttributes);
    if (openablePaths.count(path) == 0) return kInvalidHandle;
    const OsHandle handle = nextHandle++;
    liveHandles.insert(handle);
    return handle;
}

bool FakeDevice::Close(OsHandle handle) {
    closes.push_back(handle);
    if (!closeSucceeds) return false;
    return liveHandles.erase(handle) != 0;
}

bool FakeDevice::Read(OsHandle handle, void* buffer, std::uint32_t n, std::uint32_t& done) {
    if (recordCalls) readRequests.push_back(n);
    done = 0;
    if (!IsOpen(handle)) return false;
    if (reads.empty()) return true;
    ReadStep step = std::move(reads.front());
    reads.pop_front();
    if (step.fails) return false;
    const auto count = static_cast<std::uint32_t>(std::min<std::size_t>(n, step.bytes.size()));
    if (count != 0) std::memcpy(buffer, step.bytes.data(), count);
    if (count < step.bytes.size()) {
        // What the caller did not take stays for the next read.
        reads.push_front({std::vector<std::uint8_t>(step.bytes.begin() + count, step.bytes.end())});
    }
    done = count;
    return true;
}

bool FakeDevice::Write(OsHandle handle, const void* buffer, std::uint32_t n, std::uint32_t& done) {
    done = 0;
    if (!IsOpen(handle)) return false;
    if (writeIndex++ == failingWrite) return false;
    done = writeLimit == 0 ? n : std::min(n, writeLimit);
    auto* bytes = static_cast<const std::uint8_t*>(buffer);
    if (recordCalls) writes.emplace_back(bytes, bytes + done);
    return true;
}

bool FakeDevice::Control(OsHandle handle, std::uint32_t code, const void* in,
                         std::uint32_t inLength, void* out, std::uint32_t outLength,
                         std::uint32_t& returned) {
    returned = 0;
    if (recordCalls) {
        auto* bytes = static_cast<const std::uint8_t*>(in);
        controls.push_back(
            {handle, code, std::vector<std::uint8_t>(bytes, bytes + inLength), outLength});
    }
    const std::size_t index = controlIndex++;
    if (failingControls.count(index) != 0) return false;
    if (!IsOpen(handle)) return false;
    if (controlAction.second && controlAction.first == index) {
        std::exchange(controlAction.second, nullptr)();
    }
    if (code == kIoctlQueryDeviceId) return !deviceIdFails;
    if (code == kIoctlVendorSetCommand && answer) {
        // A request's data phase carries more than the 3-byte header and the
        // command slot; the 4-byte trigger carries the command alone.
        auto* bytes = static_cast<const std::uint8_t*>(in);
        if (inLength > 4) lastRequest.assign(bytes + 3, bytes + inLength);
        if (inLength == 4) lastTrigger = bytes[3];
    }
    if (code != kIoctlVendorGetCommand) return true;
    auto* target = static_cast<std::uint8_t*>(out);
    if (replies.empty() && answer) {
        std::memset(target, 0, outLength);
        const auto reply = answer(lastTrigger, lastRequest);
        std::memcpy(target, reply.data(), std::min<std::size_t>(outLength, reply.size()));
    } else if (replies.empty()) {
        std::memcpy(target, standingReply.data(), std::min<std::size_t>(outLength, 4096));
    } else {
        std::memset(target, 0, outLength);
        const auto& reply = replies.front();
        const auto count = std::min<std::size_t>(outLength, reply.size());
        if (count != 0) std::memcpy(target, reply.data(), count);
        replies.pop_front();
    }
    returned = outLength - std::min(outLength, repliesShortBy);
    return true;
}

}  // namespace hw::test
