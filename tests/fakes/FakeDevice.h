// A scripted device behind DeviceFiles: records every call and answers vendor
// requests, reads and writes from scripts. Tests drive the link through its
// public API against it.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/device/DeviceFiles.h"

namespace hw::test {

struct ControlCall {
    OsHandle handle;
    std::uint32_t code;
    std::vector<std::uint8_t> input;
    std::uint32_t outLength;
};

// One scripted result of a raw read: bytes delivered, or a failed call.
struct ReadStep {
    std::vector<std::uint8_t> bytes;
    bool fails = false;
};

class FakeDevice final : public DeviceFiles {
  public:
    static constexpr OsHandle kFirstHandle = 0x100;

    // Paths that open; any other path fails.
    std::set<std::string> openablePaths;
    // Called as each open is tried.
    std::function<void()> onOpen;
    bool closeSucceeds = true;

    // Calls seen.
    std::vector<std::pair<std::string, std::uint32_t>> opens;
    std::vector<OsHandle> closes;
    std::vector<ControlCall> controls;
    std::vector<std::uint32_t> readRequests;        // n asked of each Read
    std::vector<std::vector<std::uint8_t>> writes;  // bytes each Write took
    // When false no call is recorded (allocation-free runs).
    bool recordCalls = true;

    // Vendor-get replies, one per poll; when empty, answer (when set) or
    // else standingReply answers.
    std::deque<std::vector<std::uint8_t>> replies;
    // Answers a poll from the request of the last data phase (its payload,
    // command slot 0, the command in the trigger byte): a scripted machine.
    std::function<std::vector<std::uint8_t>(std::uint8_t trigger,
                                            const std::vector<std::uint8_t>& request)>
        answer;
    std::array<std::uint8_t, 4096> standingReply{};
    // Vendor-get replies report this many bytes fewer than were asked.
    std::uint32_t repliesShortBy = 0;
    // Makes the device control n calls from now (0 = the next one) fail.
    void FailControlAfter(std::size_t n) { failingControls.insert(controlIndex + n); }
    // The device-ID query fails while this is set.
    bool deviceIdFails = false;
    // Runs action while the device answers the control call n calls from now
    // (0 = the next one), after the call was accepted: lets a test change the
    // link underneath a running transaction.
    void DuringControl(std::size_t n, std::function<void()> action) {
        controlAction = {controlIndex + n, std::move(action)};
    }

    // Raw reads: one step per call; when empty, reads deliver 0 bytes.
    std::deque<ReadStep> reads;
    // Raw writes: the most bytes one call takes (0 = all); failing call index.
    std::uint32_t writeLimit = 0;
    std::size_t failingWrite = SIZE_MAX;

    std::size_t VendorGetCount() const;
    std::size_t VendorSetCount() const;
    bool IsOpen(OsHandle handle) const { return liveHandles.count(handle) != 0; }

    OsHandle Open(const std::string& path, std::uint32_t flagsAndAttributes) override;
    bool Close(OsHandle handle) override;
    bool Read(OsHandle handle, void* buffer, std::uint32_t n, std::uint32_t& done) override;
    bool Write(OsHandle handle, const void* buffer, std::uint32_t n, std::uint32_t& done) override;
    bool Control(OsHandle handle, std::uint32_t code, const void* in, std::uint32_t inLength,
                 void* out, std::uint32_t outLength, std::uint32_t& returned) override;

  private:
    std::set<OsHandle> liveHandles;
    OsHandle nextHandle = kFirstHandle;
    std::set<std::size_t> failingControls;
    std::size_t controlIndex = 0;
    std::pair<std::size_t, std::function<void()>> controlAction;
    std::size_t writeIndex = 0;
    std::vector<std::uint8_t> lastRequest;
    std::uint8_t lastTrigger = 0;
};

// Builds a reply payload from its leading bytes (the rest zero).
std::vector<std::uint8_t> Reply(std::initializer_list<std::uint8_t> bytes);

}  // namespace hw::test
