// Counts the heap allocations made through operator new while counting is on.
#pragma once

namespace hw::test {

void StartCountingAllocations();
// Stops counting and returns the number of allocations since the start.
long StopCountingAllocations();

}  // namespace hw::test
