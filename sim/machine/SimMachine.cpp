#include "sim/machine/SimMachine.h"

#include "sim/machine/SimReport.h"
#include "sim/usb/SimRequest.h"

namespace hw {

SimMachine::SimMachine(SimClock& clock, const SimConfig& config, SimFaults& faults)
    : clock_(clock),
      config_(config),
      log_(clock.NowMs()),
      drive_(config_, faults, log_),
      storage_(config_, log_),
      panel_(config_, drive_, log_),
      bulk_(config.version, drive_, storage_.Parameters(), faults, log_) {
    log_.Note("power on");
}

void SimMachine::Update() {
    const std::uint64_t elapsed = log_.Advance(clock_.NowMs());
    if (drive_.SpindleOn()) storage_.SpindleRan(elapsed);
    drive_.Update();
}

std::string SimMachine::DeviceId() const {
    return "MFG:Varnel;MDL:QMV-240;CMD:VPL;CLS:PRINTER;DES:Varnel QMV-240;SN:" +
           Parameters().Serial() + ";";
}

void SimMachine::AnnounceReport() {
    bulk_.AnnounceReport(ReportText());
}

std::string SimMachine::ReportText() const {
    return SimServiceReport(*this);
}

void SimMachine::ReceivePrintJob(const std::vector<std::uint8_t>& data) {
    Update();
    bulk_.ReceivePrintJob(data);
}

std::uint8_t SimMachine::SetUpdateMode(std::uint8_t mode) {
    if (mode > 1) return kSimOutOfRange;
    if (mode == 1) {
        if (Busy()) return kSimNotReady;
        EnterUpdateMode();
    } else {
        drive_.LeaveUpdateMode();
    }
    return kSimDone;
}

void SimMachine::EnterUpdateMode() {
    Update();
    drive_.EnterUpdateMode();
}

void SimMachine::SetCoverOpen(bool open) {
    Update();
    panel_.SetCoverOpen(open);
    if (open && Busy()) RaiseError("cover opened while moving");
}

}  // namespace hw
