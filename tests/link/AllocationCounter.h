// Counts the heap allocations made through operator new while counting is on,
// and makes them fail while refusing is on.
#pragma once

namespace hw::test {

void StartCountingAllocations();
// Stops counting and returns the number of allocations since the start.
long StopCountingAllocations();

// While one lives, every operator new fails: the throwing forms throw
// std::bad_alloc, the nothrow forms return null.
class AllocationsRefused {
  public:
    AllocationsRefused();
    ~AllocationsRefused();
    AllocationsRefused(const AllocationsRefused&) = delete;
    AllocationsRefused& operator=(const AllocationsRefused&) = delete;
};

}  // namespace hw::test
