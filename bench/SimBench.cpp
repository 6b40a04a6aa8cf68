// Cost of whole transactions against the simulated machine: the link, the
// simulated Windows and the controller together, beside the link-only figures.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "commands/MachineLink.h"
#include "sim/pc/SimEnvironment.h"

namespace {

struct SimulatedLink {
    SimulatedLink() {
        link.FindPrinters(hw::kSimDriverName);
        link.Connect(*link.PrinterName(0), 0, 32, false);
    }
    hw::TestClock clock{1};
    hw::SimEnvironment env{clock};
    hw::MachineLink link{env.Platform()};
};

void SimulatedStatusQuery(benchmark::State& state) {
    SimulatedLink bench;
    for (auto _ : state) benchmark::DoNotOptimize(bench.link.GetStatusWord());
}
BENCHMARK(SimulatedStatusQuery);

void SimulatedPositionQuery(benchmark::State& state) {
    SimulatedLink bench;
    std::int32_t position[4];
    for (auto _ : state) benchmark::DoNotOptimize(bench.link.GetPosition(position, 4));
}
BENCHMARK(SimulatedPositionQuery);

void SimulatedOffsetWrite(benchmark::State& state) {
    SimulatedLink bench;
    const std::int32_t offset[2] = {-50, 80};
    for (auto _ : state) benchmark::DoNotOptimize(bench.link.SetLaserOffset(offset));
}
BENCHMARK(SimulatedOffsetWrite);

}  // namespace
