// Report assembly through GetReport into the growable memory sink, beside a
// plain copy of the same bytes: the cost must stay linear in the report's size.
// The largest size is the longest report the link accepts (16 MiB).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "commands/MachineLink.h"
#include "fakes/FakePlatform.h"
#include "platform/files/MemFile.h"

namespace {

using hw::OsHandle;

// A device whose bulk channel streams one prepared report, as fast as memory allows.
class StreamDevice final : public hw::DeviceFiles {
  public:
    explicit StreamDevice(std::size_t size) : report(size, 'r') { report.back() = 0; }
    void Rewind() { position = 0; }

    OsHandle Open(const std::string&, std::uint32_t) override { return 0x10; }
    bool Close(OsHandle) override { return true; }
    bool Read(OsHandle, void* buffer, std::uint32_t n, std::uint32_t& done) override {
        done = static_cast<std::uint32_t>(std::min<std::size_t>(n, report.size() - position));
        std::memcpy(buffer, report.data() + position, done);
        position += done;
        return true;
    }
    bool Write(OsHandle, const void*, std::uint32_t n, std::uint32_t& done) override {
        done = n;
        return true;
    }
    bool Control(OsHandle, std::uint32_t, const void*, std::uint32_t, void* out,
                 std::uint32_t outLength, std::uint32_t& returned) override {
        if (out != nullptr) std::memset(out, 0, outLength);  // status 0: done at once
        returned = outLength;
        return true;
    }

    std::vector<char> report;

  private:
    std::size_t position = 0;
};

void ReportAssembly(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0));
    hw::test::FakePlatform fake;
    fake.InstallMachine("QMV-240", "USB001", "B3NCH1");
    fake.locks.recordCalls = false;
    StreamDevice device(size);
    const hw::LinkPlatform platform{device,        fake.locks,  fake.system, fake.spooler,
                                    fake.registry, fake.alerts, fake.text};
    hw::MachineLink link(platform);
    link.Connect("QMV-240", 0, 32, false);
    for (auto _ : state) {
        device.Rewind();
        hw::MemFile sink;
        if (!link.GetReport(sink)) state.SkipWithError("report incomplete");
        benchmark::DoNotOptimize(sink.Data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(ReportAssembly)
    ->RangeMultiplier(8)
    ->Range(1 << 10, 16 << 20)
    ->Unit(benchmark::kMicrosecond);

void PlainCopy(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0));
    std::vector<char> source(size, 'r');
    for (auto _ : state) {
        auto target = std::make_unique_for_overwrite<char[]>(size);
        std::memcpy(target.get(), source.data(), size);
        benchmark::DoNotOptimize(target.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(PlainCopy)->RangeMultiplier(8)->Range(1 << 10, 16 << 20)->Unit(benchmark::kMicrosecond);

}  // namespace
