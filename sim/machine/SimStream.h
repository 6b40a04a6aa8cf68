// The machine's bulk-in endpoint: bytes it has queued for the host (a report,
// a parameter block), handed out by the host's reads in pieces.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/machine/SimFaults.h"

namespace hw {

class SimStream {
  public:
    // Replaces whatever was still queued.
    void Load(std::vector<std::uint8_t> bytes);
    void Clear();
    bool Empty() const { return next_ >= bytes_.size(); }
    std::size_t Remaining() const { return bytes_.size() - next_; }

    // One host read of up to n bytes. The faults may make it deliver nothing
    // (a read that found no data yet), a short piece, or fail (false).
    bool Read(std::uint8_t* buffer, std::uint32_t n, SimFaults& faults, std::uint32_t& done);

  private:
    std::vector<std::uint8_t> bytes_;
    std::size_t next_ = 0;
    int emptyReadsGiven_ = 0;
};

}  // namespace hw
