#include "sim/machine/SimStream.h"

#include <algorithm>
#include <cstring>

namespace hw {

void SimStream::Load(std::vector<std::uint8_t> bytes) {
    bytes_ = std::move(bytes);
    next_ = 0;
    emptyReadsGiven_ = 0;
}

void SimStream::Clear() {
    Load({});
}

bool SimStream::Read(std::uint8_t* buffer, std::uint32_t n, SimFaults& faults,
                     std::uint32_t& done) {
    done = 0;
    if (faults.failNextRead) {
        faults.failNextRead = false;
        return false;
    }
    if (Empty() || n == 0) return true;
    if (emptyReadsGiven_ < faults.emptyReadsBeforePiece) {
        ++emptyReadsGiven_;
        return true;
    }
    emptyReadsGiven_ = 0;
    std::size_t piece = std::min<std::size_t>(n, Remaining());
    if (faults.maxReadPiece != 0) piece = std::min<std::size_t>(piece, faults.maxReadPiece);
    std::memcpy(buffer, bytes_.data() + next_, piece);
    next_ += piece;
    done = static_cast<std::uint32_t>(piece);
    return true;
}

}  // namespace hw
