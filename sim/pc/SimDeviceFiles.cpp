#include "sim/pc/SimDeviceFiles.h"

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

SimDeviceFiles::SimDeviceFiles(SimController& controller, std::string devicePath,
                               OsHandle firstHandle)
    : controller_(controller), path_(std::move(devicePath)), nextHandle_(firstHandle) {}

bool SimDeviceFiles::Names(const std::string& path) const {
    return SamePath(path, path_);
}

OsHandle SimDeviceFiles::Open(const std::string& path, std::uint32_t) {
    bool cameBack = false;
    OsHandle handle = kInvalidHandle;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        cameBack = ComeBackLocked();
        handle = OpenLocked(path);
    }
    if (cameBack) Notify();
    return handle;
}

OsHandle SimDeviceFiles::OpenLocked(const std::string& path) {
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
    bool unplugged = false;
    bool read = false;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        done = 0;
        if (!Live(handle)) return false;
        read = controller_.BulkRead(static_cast<std::uint8_t*>(buffer), n, done);
        if (read && done > 0) unplugged = UnplugAtLocked(SimUnplugAt::MidStream);
    }
    if (unplugged) Notify();
    return read;
}

bool SimDeviceFiles::Write(OsHandle handle, const void* buffer, std::uint32_t n,
                           std::uint32_t& done) {
    bool unplugged = false;
    bool written = false;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        done = 0;
        if (!Live(handle)) return false;
        written = controller_.BulkWrite(static_cast<const std::uint8_t*>(buffer), n, done);
        if (written && done > 0) unplugged = UnplugAtLocked(SimUnplugAt::MidStream);
    }
    if (unplugged) Notify();
    return written;
}

bool SimDeviceFiles::Control(OsHandle handle, std::uint32_t code, const void* in,
                             std::uint32_t inLength, void* out, std::uint32_t outLength,
                             std::uint32_t& returned) {
    bool unplugged = false;
    bool done = false;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        returned = 0;
        const bool dataPhase = code == kIoctlVendorSetCommand && inLength != kSimTriggerLength;
        if (dataPhase) unplugged = UnplugAtLocked(SimUnplugAt::BeforeDataPhase);
        if (Live(handle)) {
            done = Forward(code, static_cast<const std::uint8_t*>(in), inLength,
                           static_cast<std::uint8_t*>(out), outLength, returned);
            if (done) unplugged = UnplugAtLocked(UnplugPointAfter(code, dataPhase)) || unplugged;
        }
    }
    if (unplugged) Notify();
    return done;
}

bool SimDeviceFiles::Forward(std::uint32_t code, const std::uint8_t* in, std::uint32_t inLength,
                             std::uint8_t* out, std::uint32_t outLength, std::uint32_t& returned) {
    switch (code) {
        case kIoctlVendorSetCommand:
            return controller_.VendorSet(in, inLength);
        case kIoctlVendorGetCommand:
            return controller_.VendorGet(in, inLength, out, outLength, returned);
        case kIoctlQueryDeviceId:
            return controller_.QueryDeviceId(out, outLength, returned);
        default:
            return false;
    }
}

SimUnplugAt SimDeviceFiles::UnplugPointAfter(std::uint32_t code, bool dataPhase) const {
    if (code == kIoctlVendorSetCommand) {
        return dataPhase ? SimUnplugAt::BeforeTrigger : SimUnplugAt::AfterTrigger;
    }
    if (code == kIoctlVendorGetCommand && controller_.ReplyPending()) {
        return SimUnplugAt::BetweenPolls;
    }
    return SimUnplugAt::Nowhere;
}

bool SimDeviceFiles::UnplugAtLocked(SimUnplugAt point) {
    SimUnplugAt& armed = controller_.Faults().unplugAt;
    if (point == SimUnplugAt::Nowhere || armed != point) return false;
    armed = SimUnplugAt::Nowhere;
    return UnplugLocked();
}

bool SimDeviceFiles::TakePrintPiece(std::uint32_t jobConnection) {
    bool unplugged = false;
    bool alive = false;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        unplugged = UnplugAtLocked(SimUnplugAt::DuringPrintJob);
        alive = generation_ == jobConnection;
    }
    if (unplugged) Notify();
    return alive;
}

std::uint32_t SimDeviceFiles::Connection() const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return generation_;
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
    bool restarts = false;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        if (plugged_) return;
        plugged_ = true;
        restarting_ = false;
        for (const auto& job : heldJobs_) restarts = ReceiveLocked(job) || restarts;
        heldJobs_.clear();
    }
    Notify();
    if (restarts) Notify();
}

bool SimDeviceFiles::ReceiveLocked(const std::vector<std::uint8_t>& data) {
    SimMachine& machine = controller_.Machine();
    const int updates = machine.FirmwareUpdates();
    controller_.ReceivePrintJob(data);
    if (machine.FirmwareUpdates() == updates || !UnplugLocked()) return false;
    restarting_ = true;
    backAt_.reset();
    if (!TakeFault(controller_.Faults().staysAwayAfterUpdate))
        backAt_ = machine.Now() + kSimRestartMs;
    return true;
}

bool SimDeviceFiles::ComeBackLocked() {
    if (!restarting_ || !backAt_) return false;
    SimMachine& machine = controller_.Machine();
    machine.Update();
    if (machine.Now() < *backAt_) return false;
    restarting_ = false;
    plugged_ = true;
    return true;
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
    bool restarts = false;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        if (plugged_) {
            restarts = ReceiveLocked(data);
        } else {
            heldJobs_.push_back(data);
        }
    }
    if (restarts) Notify();
}

}  // namespace hw
