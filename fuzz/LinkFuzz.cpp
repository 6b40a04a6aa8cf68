// Drives every reply reader, catalogue query and bulk transfer with random
// replies and random bulk streams: nothing may crash, hang or read outside a
// buffer, whatever the machine answers.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "commands/MachineLink.h"
#include "fakes/FakePlatform.h"
#include "platform/MemFile.h"

namespace {

using hw::MachineLink;
using hw::test::FakePlatform;

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

void RunOne(FuzzedDataProvider& in, MachineLink& link) {
    std::uint8_t bytes[64];
    std::uint16_t words[32];
    std::uint32_t dwords[16];
    std::int32_t ints[16];
    float floats[16];
    char text[64];
    const int cap = in.ConsumeIntegralInRange(-2, 40);
    const int small = in.ConsumeIntegralInRange(0, 8);
    switch (in.ConsumeIntegralInRange(0, 17)) {
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
            hw::MemFile block;
            const auto content = in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange(0, 4000));
            if (!content.empty())
                block.Write(content.data(), static_cast<std::uint32_t>(content.size()));
            link.PutParameters(block);
            break;
        }
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
    FuzzedDataProvider in(data, size);
    FakePlatform fake;
    fake.InstallMachine("QMV-240", "USB001", "F0F0F0");
    fake.device.recordCalls = false;
    fake.locks.recordCalls = false;
    fake.system.step = 97;  // lets time-outs and stall limits arrive quickly
    MachineLink link(fake.platform);
    const int packetSize = in.ConsumeIntegralInRange(2, 64);
    if (!link.Connect("QMV-240", 0, packetSize, false)) return 0;
    while (in.remaining_bytes() > 0) {
        ScriptDevice(in, fake, packetSize);
        RunOne(in, link);
    }
    return 0;
}
