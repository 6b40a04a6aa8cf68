// Drives every reply reader, catalogue query, bulk transfer and file send with
// random replies, random bulk streams, failing device and spooler calls and
// every outcome of the lock wait: nothing may crash, hang or read outside a
// buffer, whatever the machine answers, and every lock and printer the link
// opens is closed again.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "commands/MachineLink.h"
#include "fakes/FakePlatform.h"
#include "platform/files/MemFile.h"

namespace {

using hw::MachineLink;
using hw::test::FakePlatform;

constexpr const char* kQueue = "QMV-240";
constexpr int kLargestPacket = 64;
// Operations one input runs at most; bytes past them go unused.
constexpr int kMaxRounds = 16;

// Set up once per process: the machine's queue and the Plug and Play keys
// behind it, and one link per packet size, connected (discovery and all) the
// first time an input asks for that size. Each input then starts from a fresh
// device, lock, clock and alerts, and the spooler's scripts and jobs are reset.
class Bench {
  public:
    Bench() : devicePath_(fake_.InstallMachine(kQueue, "USB001", "F0F0F0")) { Reset(); }

    FakePlatform& Fake() { return fake_; }

    // The link for packetSize, ready for an input; null when it cannot connect.
    MachineLink* Start(int packetSize) {
        auto& link = links_[static_cast<std::size_t>(packetSize)];
        if (!link) {
            link = std::make_unique<MachineLink>(fake_.platform);
            if (!link->Connect(kQueue, 0, packetSize, false)) return nullptr;
        } else if (!link->CheckConnection()) {  // opens the fresh device again
            return nullptr;
        }
        link->SelectMeterChannel(-1, 0);  // no meter channel chosen yet
        return link.get();
    }

    // Ends an input: false when it left a lock or a printer open. Resets the
    // platform here, so that an input frees what it allocated.
    bool Finish() {
        const bool closed = fake_.locks.open == 0 && fake_.spooler.openPrinters == 0;
        Reset();
        return closed;
    }

  private:
    void Reset() {
        fake_.device = {};
        fake_.device.openablePaths.insert(devicePath_);
        fake_.device.recordCalls = false;
        fake_.locks = {};
        fake_.locks.recordCalls = false;
        // The clock's fields are atomic and cannot be assigned as a whole.
        fake_.system.now = 0;
        fake_.system.step = 97;  // lets time-outs and stall limits arrive quickly
        fake_.system.platformId = hw::kPlatformWin32Nt;
        fake_.system.versionFails = false;
        fake_.system.sleeps.clear();
        fake_.alerts = {};
        auto& spooler = fake_.spooler;
        spooler.jobs.clear();
        spooler.failingWrites.clear();
        spooler.writeCalls = 0;
        spooler.writeLimit = 0;
        spooler.acceptsNothing = false;
    }

    FakePlatform fake_;
    std::string devicePath_;
    std::array<std::unique_ptr<MachineLink>, kLargestPacket + 1> links_;
};

constexpr hw::WaitOutcome kWaitOutcomes[] = {hw::WaitOutcome::Acquired, hw::WaitOutcome::TimedOut,
                                             hw::WaitOutcome::Abandoned, hw::WaitOutcome::Failed};

// Failing device and spooler calls and the lock's answer for the next round.
void ScriptFailures(FuzzedDataProvider& in, FakePlatform& fake, MachineLink& link) {
    auto& device = fake.device;
    if (in.ConsumeBool()) device.FailControlAfter(in.ConsumeIntegralInRange<std::size_t>(0, 6));
    device.deviceIdFails = in.ConsumeBool();
    device.failingWrite =
        in.ConsumeBool() ? in.ConsumeIntegralInRange<std::size_t>(0, 4) : SIZE_MAX;
    if (in.ConsumeBool()) {
        // The machine goes away for good in the middle of a device call.
        device.DuringControl(in.ConsumeIntegralInRange<std::size_t>(0, 8), [&device, &link] {
            device.deviceIdFails = true;
            device.openablePaths.clear();
            link.CheckConnection();
        });
    }
    fake.locks.outcome = in.PickValueInArray(kWaitOutcomes);
    fake.locks.createFails = in.ConsumeIntegralInRange(0, 7) == 0;
    auto& spooler = fake.spooler;
    if (in.ConsumeBool()) {
        spooler.failingWrites.insert(spooler.writeCalls + in.ConsumeIntegralInRange(0, 3));
    }
    spooler.writeLimit = in.ConsumeIntegralInRange<std::uint32_t>(0, 40000);
    spooler.acceptsNothing = in.ConsumeIntegralInRange(0, 7) == 0;
}

void ScriptDevice(FuzzedDataProvider& in, FakePlatform& fake, int packetSize) {
    const int replies = in.ConsumeIntegralInRange(0, 3);
    for (int i = 0; i < replies; ++i) {
        const auto length = in.ConsumeIntegralInRange<std::size_t>(0, packetSize + 4);
        fake.device.replies.push_back(in.ConsumeBytes<std::uint8_t>(length));
    }
    const int reads = in.ConsumeIntegralInRange(0, 4);
    for (int i = 0; i < reads; ++i) {
        const auto length = in.ConsumeIntegralInRange<std::size_t>(0, 3000);
        const bool fails = in.ConsumeBool();
        fake.device.reads.push_back({in.ConsumeBytes<std::uint8_t>(length), fails});
    }
    fake.device.writeLimit = in.ConsumeIntegralInRange<std::uint32_t>(0, 2048);
}

hw::MemFile FileOf(FuzzedDataProvider& in, std::size_t most) {
    hw::MemFile file;
    const auto content =
        in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange<std::size_t>(0, most));
    if (!content.empty()) file.Write(content.data(), static_cast<std::uint32_t>(content.size()));
    file.Seek(0, hw::File::SeekFrom::Begin);
    return file;
}

void RunOne(FuzzedDataProvider& in, MachineLink& link) {
    std::uint8_t bytes[64];
    std::uint16_t words[32];
    std::uint32_t dwords[16];
    std::int32_t ints[16];
    float floats[16];
    char text[64];
    const int cap = in.ConsumeIntegralInRange(-2, 40);
    const int small = in.ConsumeIntegralInRange(0, 8);
    switch (in.ConsumeIntegralInRange(0, 20)) {
        case 0:
            link.GetStatusWord();
            break;
        case 1:
            link.GetVersionString(text, in.ConsumeIntegralInRange(0, 64));
            break;
        case 2:
            link.GetPosition(ints, small);
            break;
        case 3:
            link.GetPanelKeys(bytes, cap < 0 ? 0 : cap);
            break;
        case 4:
            link.GetSensorBytes(bytes, cap < 0 ? 0 : cap);
            break;
        case 5:
            link.GetDialCounter(ints, small);
            break;
        case 6:
            link.SelectMeterChannel(in.ConsumeIntegral<int>(), in.ConsumeBool());
            break;
        case 7:
            link.ReadMeterChannel(floats, small);
            break;
        case 8:
            link.GetAnalogValues(words, in.ConsumeIntegralInRange(0, 32));
            break;
        case 9:
            link.GetLaserOffset(ints);
            break;
        case 10:
            link.GetY0Offset(ints);
            break;
        case 11:
            link.QueryBytes(in.ConsumeIntegral<std::uint8_t>(), bytes, cap < 0 ? 0 : cap);
            break;
        case 12:
            link.QueryExtendedDwords(59, 0, dwords, small * 2);
            break;
        case 13:
            link.QueryWords(1, words, cap < 0 ? 0 : cap);
            break;
        case 14: {
            hw::MemFile report;
            link.GetReport(report);
            break;
        }
        case 15: {
            hw::MemFile block;
            link.GetParameters(block);
            break;
        }
        case 16: {
            hw::MemFile block = FileOf(in, 4000);
            link.PutParameters(block);
            break;
        }
        case 17: {
            hw::MemFile file = FileOf(in, 70000);
            link.SendFile(file);
            break;
        }
        case 18: {
            const auto mode = in.ConsumeIntegral<std::uint8_t>();
            hw::MemFile file = FileOf(in, 70000);
            link.SendFileInMode(mode, file);
            break;
        }
        case 19:
            link.CheckConnection();
            break;
        default: {
            const auto body = in.ConsumeBytes<char>(in.ConsumeIntegralInRange(0, 40));
            link.ShowPanelText(body.data(), static_cast<int>(body.size()),
                               in.ConsumeIntegral<int>());
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Bench bench;
    FuzzedDataProvider in(data, size);
    const int packetSize = in.ConsumeIntegralInRange(2, kLargestPacket);
    if (MachineLink* link = bench.Start(packetSize)) {
        for (int round = 0; round < kMaxRounds && in.remaining_bytes() > 0; ++round) {
            ScriptFailures(in, bench.Fake(), *link);
            ScriptDevice(in, bench.Fake(), packetSize);
            RunOne(in, *link);
        }
    }
    // Every transaction closes its lock; every file send closes its printer.
    if (!bench.Finish()) std::abort();
    return 0;
}
