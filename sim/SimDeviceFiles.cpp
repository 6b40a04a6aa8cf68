#include "SimDeviceFiles.h"

#include <algorithm>
#include <cctype>

#include "link/DeviceChannel.h"

namespace hw {

namespace {

bool SamePath(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

}  // namespace

SimDeviceFiles::SimDeviceFiles(SimController& controller, std::string devicePath)
    : controller_(controller), path_(std::move(devicePath)) {}

OsHandle SimDeviceFiles::Open(const std::string& path, std::uint32_t) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (!plugged_ || !SamePath(path, path_)) return kInvalidHandle;
    for (const auto& [handle, generation] : handles_) {
        if (generation == generation_) return kInvalidHandle;  // not shared
    }
    const OsHandle handle = nextHandle_;
    nextHandle_ += 4;
    handles_[handle] = generation_;
    return handle;
}

bool SimDeviceFiles::Close(OsHandle handle) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return handles_.erase(handle) != 0;
}

bool SimDeviceFiles::Live(OsHandle handle) const {
    const auto it = handles_.find(handle);
    return plugged_ && it != handles_.end() && it->second == generation_;
}

bool SimDeviceFiles::Read(OsHandle handle, void* buffer, std::uint32_t n, std::uint32_t& done) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    done = 0;
    if (!Live(handle)) return false;
    return controller_.BulkRead(static_cast<std::uint8_t*>(buffer), n, done);
}

bool SimDeviceFiles::Write(OsHandle handle, const void* buffer, std::uint32_t n,
                           std::uint32_t& done) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    done = 0;
    if (!Live(handle)) return false;
    return controller_.BulkWrite(static_cast<const std::uint8_t*>(buffer), n, done);
}

bool SimDeviceFiles::Control(OsHandle handle, std::uint32_t code, const void* in,
                             std::uint32_t inLength, void* out, std::uint32_t outLength,
                             std::uint32_t& returned) {
    bool unplugged = false;
    bool sent = false;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        returned = 0;
        if (!Live(handle)) return false;
        const auto* input = static_cast<const std::uint8_t*>(in);
        auto* output = static_cast<std::uint8_t*>(out);
        switch (code) {
            case kIoctlVendorSetCommand:
                sent = controller_.VendorSet(input, inLength);
                break;
            case kIoctlVendorGetCommand:
                return controller_.VendorGet(input, inLength, output, outLength, returned);
            case kIoctlQueryDeviceId:
                return controller_.QueryDeviceId(output, outLength, returned);
            default:
                return false;
        }
        SimFaults& faults = controller_.Faults();
        if (sent && inLength == kSimTriggerLength && faults.unplugOnNextTrigger) {
            faults.unplugOnNextTrigger = false;
            unplugged = UnplugLocked();
        }
    }
    if (unplugged) Notify();
    return sent;
}

void SimDeviceFiles::OnDeviceChange(std::function<void()> listener) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    listener_ = std::move(listener);
}

void SimDeviceFiles::Notify() {
    std::function<void()> listener;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        listener = listener_;
    }
    if (listener) listener();
}

void SimDeviceFiles::Unplug() {
    bool unplugged = false;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        unplugged = UnplugLocked();
    }
    if (unplugged) Notify();
}

bool SimDeviceFiles::UnplugLocked() {
    if (!plugged_) return false;
    plugged_ = false;
    ++generation_;
    controller_.Disconnected();
    return true;
}

void SimDeviceFiles::PlugIn() {
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        if (plugged_) return;
        plugged_ = true;
        for (const auto& job : heldJobs_) controller_.ReceivePrintJob(job);
        heldJobs_.clear();
    }
    Notify();
}

bool SimDeviceFiles::Plugged() const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return plugged_;
}

std::size_t SimDeviceFiles::OpenHandles() const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return handles_.size();
}

void SimDeviceFiles::DeliverPrintJob(const std::vector<std::uint8_t>& data) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (plugged_) {
        controller_.ReceivePrintJob(data);
    } else {
        heldJobs_.push_back(data);
    }
}

}  // namespace hw
