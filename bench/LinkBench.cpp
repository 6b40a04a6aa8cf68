// CPU cost of one transaction of the link against a zero-latency scripted
// device and a lock that is always free, and of reading a reply's items.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "commands/MachineLink.h"
#include "fakes/FakePlatform.h"
#include "link/PacketBuffer.h"

namespace {

using hw::MachineLink;
using hw::test::FakePlatform;

struct ConnectedLink {
    ConnectedLink() {
        fake.InstallMachine("QMV-240", "USB001", "B3NCH1");
        fake.device.recordCalls = false;
        fake.locks.recordCalls = false;
        // Every poll answers at once: status 0, one item of each kind.
        fake.device.standingReply[1] = 7;
        link.Connect("QMV-240", 0, 32, false);
    }
    FakePlatform fake;
    MachineLink link{fake.platform};
};

void StatusQuery(benchmark::State& state) {
    ConnectedLink bench;
    for (auto _ : state) benchmark::DoNotOptimize(bench.link.GetStatusWord());
}
BENCHMARK(StatusQuery);

void SevenIntegerRequest(benchmark::State& state) {
    ConnectedLink bench;
    const std::uint32_t values[7] = {1, 2, 3, 4, 5, 6, 7};
    for (auto _ : state) benchmark::DoNotOptimize(bench.link.SendDwords(64, 3600, values, 7));
}
BENCHMARK(SevenIntegerRequest);

void ReplyDecoding(benchmark::State& state) {
    hw::PacketBuffer buffer;
    buffer.Allocate(0, 32);
    const std::uint8_t reply[32] = {0, 7, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3};
    buffer.RewindWrite();
    buffer.PutBytes(reply, 32);
    std::uint32_t values[7];
    for (auto _ : state) {
        buffer.RewindRead();
        buffer.SkipRead(4);
        benchmark::DoNotOptimize(buffer.GetDwords(values, 7));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(ReplyDecoding);

}  // namespace
