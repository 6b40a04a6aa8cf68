#include "sim/pc/SimDeviceBus.h"

namespace hw {

void SimDeviceBus::Attach(SimDeviceFiles& device) {
    std::lock_guard<std::mutex> lock(mutex_);
    devices_.push_back(&device);
}

OsHandle SimDeviceBus::Open(const std::string& path, std::uint32_t flagsAndAttributes) {
    SimDeviceFiles* device = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (std::size_t i = 0; i < devices_.size(); ++i) {
            if (!devices_[i]->Names(path)) continue;
            device = devices_[i];
            lastOpened_ = i;
        }
    }
    if (device == nullptr) return kInvalidHandle;
    const OsHandle handle = device->Open(path, flagsAndAttributes);
    if (handle == kInvalidHandle) return handle;
    std::lock_guard<std::mutex> lock(mutex_);
    handles_[handle] = {device, ++opens_};
    return handle;
}

bool SimDeviceBus::Close(OsHandle handle) {
    SimDeviceFiles* device = DeviceOf(handle);
    if (device == nullptr) return false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        handles_.erase(handle);
    }
    return device->Close(handle);
}

bool SimDeviceBus::Read(OsHandle handle, void* buffer, std::uint32_t n, std::uint32_t& done) {
    done = 0;
    SimDeviceFiles* device = DeviceOf(handle);
    return device != nullptr && device->Read(handle, buffer, n, done);
}

bool SimDeviceBus::Write(OsHandle handle, const void* buffer, std::uint32_t n,
                         std::uint32_t& done) {
    done = 0;
    SimDeviceFiles* device = DeviceOf(handle);
    return device != nullptr && device->Write(handle, buffer, n, done);
}

bool SimDeviceBus::Control(OsHandle handle, std::uint32_t code, const void* in,
                           std::uint32_t inLength, void* out, std::uint32_t outLength,
                           std::uint32_t& returned) {
    returned = 0;
    SimDeviceFiles* device = DeviceOf(handle);
    return device != nullptr &&
           device->Control(handle, code, in, inLength, out, outLength, returned);
}

SimDeviceFiles& SimDeviceBus::LastOpened() const {
    std::lock_guard<std::mutex> lock(mutex_);
    const Opened* newest = nullptr;
    for (const auto& [handle, opened] : handles_) {
        if (newest == nullptr || opened.order > newest->order) newest = &opened;
    }
    return newest != nullptr ? *newest->device : *devices_[lastOpened_];
}

SimDeviceFiles* SimDeviceBus::DeviceOf(OsHandle handle) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = handles_.find(handle);
    return found == handles_.end() ? nullptr : found->second.device;
}

}  // namespace hw
