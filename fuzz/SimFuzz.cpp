// Feeds random device calls to the simulated machine: vendor-set blocks,
// triggers, vendor gets, bulk reads and writes, device-ID queries, print jobs,
// the cable, time passing and the technician at the machine. The machine must
// answer anything without crashing, and after every input its parameter block
// is still well formed, its axes are inside their travel and no printer is
// left open. Each input gets a freshly switched-on machine on its cable and
// queue; the simulated PC's registry and the rest of Windows are not needed.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "link/DeviceChannel.h"
#include "sim/machine/SimMotion.h"
#include "sim/pc/SimDeviceFiles.h"
#include "sim/pc/SimSpooler.h"
#include "sim/usb/SimController.h"

namespace hw {
namespace {

constexpr const char* kDevicePath = "\\\\?\\USB#VID_0F2A&PID_0240#QMV0117#fuzz";
constexpr const char* kQueue = "QMV-240";

// Enough calls for any exchange, stream or put; bytes past them go unused.
constexpr int kMaxSteps = 24;

// Reads the fuzz input front to back; zeros once it runs out.
class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Done() const { return at_ >= size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::uint32_t Word() { return Byte() | (static_cast<std::uint32_t>(Byte()) << 8); }
    std::vector<std::uint8_t> Bytes(std::size_t n) {
        std::vector<std::uint8_t> bytes(n, 0);
        const std::size_t taken = std::min(n, size_ - at_);
        std::copy_n(data_ + at_, taken, bytes.begin());
        at_ += taken;
        return bytes;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// The block every fresh machine starts with.
const std::vector<std::uint8_t>& PristineBlock() {
    static const std::vector<std::uint8_t> block = SimParameters(SimConfig{}.serial).Block();
    return block;
}

class Session {
  public:
    Session() : files_(controller_, kDevicePath), spooler_(files_) {
        spooler_.AddPrinter({kQueue, "USB001", "Varnel QMV-240"}, true);
        Reopen();
    }

    // The invariants no sequence of calls may break. The block is checked
    // only when it changed: the check costs as much as a whole short input.
    bool Sound() {
        const SimMachine& machine = controller_.Machine();
        const auto& block = machine.Parameters().Block();
        return (block == PristineBlock() || SimParameters::WellFormed(block)) &&
               SimMotion::WithinTravel(machine.Position()) && spooler_.OpenPrinters() == 0;
    }

    void Step(Input& in) {
        switch (in.Byte() % 12) {
            case 0:
                VendorSet(in, true);
                break;
            case 1:
                VendorSet(in, false);
                break;
            case 2:
                Trigger(in.Byte());
                break;
            case 3:
                VendorGet(in);
                break;
            case 4:
                Transaction(in);
                break;
            case 5:
                BulkRead(in);
                break;
            case 6:
                BulkWrite(in);
                break;
            case 7:
                DeviceId(in);
                break;
            case 8:
                clock_.Advance(in.Word() * 4);
                break;
            case 9:
                Cable(in);
                break;
            case 10:
                PrintJob(in);
                break;
            default:
                Technician(in);
                break;
        }
    }

  private:
    void Reopen() {
        files_.Close(handle_);
        handle_ = files_.Open(kDevicePath, kFileAttributeNormal);
    }

    bool Control(std::uint32_t code, const std::uint8_t* in, std::uint32_t inLength,
                 std::uint8_t* out, std::uint32_t outLength) {
        std::uint32_t returned = 0;
        return files_.Control(handle_, code, in, inLength, out, outLength, returned);
    }

    void VendorSet(Input& in, bool header) {
        std::vector<std::uint8_t> block = in.Bytes(in.Word() % 4200);
        if (header && block.size() >= 3) {
            std::fill_n(block.begin(), 3, std::uint8_t{0});
            block[0] = 0xF0;
        }
        Control(kIoctlVendorSetCommand, block.data(), static_cast<std::uint32_t>(block.size()),
                nullptr, 0);
    }

    void Trigger(std::uint8_t slot) {
        const std::uint8_t block[4] = {0xF0, 0, 0, slot};
        Control(kIoctlVendorSetCommand, block, 4, nullptr, 0);
    }

    std::uint8_t VendorGet(Input& in) {
        std::vector<std::uint8_t> block(3 + in.Word() % 4200, 0);
        block[0] = 0xF0;
        Control(kIoctlVendorGetCommand, block.data(), 3, block.data() + 3,
                static_cast<std::uint32_t>(block.size() - 3));
        return block.size() > 3 ? block[3] : 0;
    }

    // A whole exchange as the link makes it: data phase, trigger, polls.
    void Transaction(Input& in) {
        std::vector<std::uint8_t> block(3 + 2 + in.Byte() % 64, 0);
        block[0] = 0xF0;
        for (std::size_t i = 3; i < block.size(); ++i) block[i] = in.Byte();
        const std::uint8_t slot = block[3];
        block[3] = 0;
        Control(kIoctlVendorSetCommand, block.data(), static_cast<std::uint32_t>(block.size()),
                nullptr, 0);
        Trigger(slot);
        for (int poll = 0; poll < 400; ++poll) {
            if (!Control(kIoctlVendorGetCommand, block.data(), 3, block.data() + 3,
                         static_cast<std::uint32_t>(block.size() - 3)) ||
                block[3] != slot) {
                break;
            }
        }
    }

    void BulkRead(Input& in) {
        std::vector<std::uint8_t> buffer(in.Word() % 5000);
        std::uint32_t done = 0;
        files_.Read(handle_, buffer.data(), static_cast<std::uint32_t>(buffer.size()), done);
    }

    void BulkWrite(Input& in) {
        const std::vector<std::uint8_t> bytes = in.Bytes(in.Word() % 3000);
        std::uint32_t done = 0;
        files_.Write(handle_, bytes.data(), static_cast<std::uint32_t>(bytes.size()), done);
    }

    void DeviceId(Input& in) {
        std::vector<std::uint8_t> buffer(in.Word() % 300);
        Control(kIoctlQueryDeviceId, nullptr, 0, buffer.data(),
                static_cast<std::uint32_t>(buffer.size()));
    }

    void Cable(Input& in) {
        switch (in.Byte() % 4) {
            case 0:
                files_.Unplug();
                break;
            case 1:
                files_.PlugIn();
                break;
            case 2:
                Reopen();
                break;
            default:
                Control(in.Word(), nullptr, 0, nullptr, 0);
                break;
        }
    }

    void PrintJob(Input& in) {
        const std::vector<std::uint8_t> bytes = in.Bytes(in.Word() % 2000);
        Spooler& spooler = spooler_;
        const OsHandle printer = spooler.OpenPrinter(kQueue);
        std::uint32_t written = 0;
        spooler.StartRawDocument(printer, "Updater");
        spooler.WritePrinter(printer, bytes.data(), static_cast<std::uint32_t>(bytes.size()),
                             written);
        spooler.EndDocument(printer);
        spooler.ClosePrinter(printer);
    }

    void Technician(Input& in) {
        SimMachine& machine = controller_.Machine();
        const std::uint8_t what = in.Byte();
        switch (what % 6) {
            case 0:
                machine.SetCoverOpen((what & 0x80) != 0);
                break;
            case 1:
                machine.EnterUpdateMode();
                break;
            case 2:
                machine.SetKeys(static_cast<std::uint16_t>(in.Word()));
                break;
            case 3:
                machine.TurnDial(static_cast<std::int8_t>(in.Byte()));
                break;
            default:
                ArmFault(in.Byte(), in.Byte());
                break;
        }
    }

    void ArmFault(std::uint8_t which, std::uint8_t value) {
        SimFaults& faults = controller_.Faults();
        const bool on = (value & 1) != 0;
        switch (which % 9) {
            case 0:
                faults.stopAnswering = on;
                break;
            case 1:
                faults.refuseCommands = value % 4;
                break;
            case 2:
                faults.unplugAt = static_cast<SimUnplugAt>(
                    value % (static_cast<int>(SimUnplugAt::DuringPrintJob) + 1));
                break;
            case 3:
                faults.emptyReadsBeforePiece = value % 4;
                break;
            case 4:
                faults.maxReadPiece = value;
                break;
            case 5:
                faults.failNextRead = on;
                break;
            case 6:
                faults.failNextWrite = on;
                break;
            case 7:
                faults.reportWithoutNul = on;
                break;
            default:
                faults.failNextProcedure = on;
                break;
        }
    }

    // 10 ms pass at every reading, so that a command that runs for a while
    // answers after tens of polls rather than hundreds.
    TestClock clock_{10};
    SimController controller_{clock_};
    SimDeviceFiles files_;
    SimSpooler spooler_;
    OsHandle handle_ = kInvalidHandle;
};

}  // namespace
}  // namespace hw

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    hw::Session session;
    hw::Input in(data, size);
    for (int step = 0; step < hw::kMaxSteps && !in.Done(); ++step) session.Step(in);
    if (!session.Sound()) std::abort();
    return 0;
}
