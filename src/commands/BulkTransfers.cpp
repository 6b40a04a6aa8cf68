// The transfers that move more than one packet holds: the service report
// stream, and the parameter block read into and written from a file. Each is
// announced by one packet command; the data then moves over the bulk channel.
#include <algorithm>
#include <array>

#include "commands/MachineLink.h"
#include "platform/files/FileErrors.h"

namespace hw {

namespace {

constexpr std::uint8_t kCmdReport = 102;
constexpr std::uint8_t kCmdParameters = 105;
constexpr std::uint16_t kParametersRead = 0;
constexpr std::uint16_t kParametersWrite = 1;

// Watches a bulk loop for progress: it has stalled once more than
// kBulkStallMs have passed since the last piece moved.
class StallWatch {
  public:
    explicit StallWatch(System& system) : system_(system), since_(system.TickCount()) {}
    void Progress() { since_ = system_.TickCount(); }
    bool Stalled() {
        return static_cast<std::uint32_t>(system_.TickCount() - since_) > kBulkStallMs;
    }

  private:
    System& system_;
    std::uint32_t since_;
};

// Passes one piece to the sink; on a file object exception shows its error
// report and returns false.
bool Store(File& sink, const std::uint8_t* piece, int n, Alerts& alerts) {
    try {
        sink.Write(piece, static_cast<std::uint32_t>(n));
        return true;
    } catch (const FrameworkException& error) {
        alerts.ReportError(error);
        return false;
    }
}

// Reads and drops the rest of a report stream, up to the non-empty piece that
// ends with the final NUL. Stops early on a failed read, a stall, or once the
// stream has passed the longest report.
void DrainReport(MachineLink& link, System& system, std::uint64_t received) {
    std::array<std::uint8_t, kReportPiece> piece;
    StallWatch watch(system);
    while (received <= kReportMaxBytes) {
        const int n = link.ReadRaw(piece.data(), kReportPiece);
        if (n < 0) return;
        if (n == 0) {
            if (watch.Stalled()) return;
            continue;
        }
        if (piece[static_cast<std::size_t>(n - 1)] == 0) return;
        watch.Progress();
        received += static_cast<std::uint64_t>(n);
    }
}

// Reads and drops the announced rest of a parameter block and the one read
// that follows it. Stops early on a failed read or a stall.
void DrainBlock(MachineLink& link, System& system, std::int32_t remaining) {
    std::array<std::uint8_t, kBlockPiece> piece;
    StallWatch watch(system);
    while (remaining > 0) {
        const int n = link.ReadRaw(piece.data(), std::min(remaining, kBlockPiece));
        if (n < 0) return;
        if (n > 0) {
            remaining -= n;
            watch.Progress();
        } else if (watch.Stalled()) {
            return;
        }
    }
    link.ReadRaw(piece.data(), kBlockPiece);
}

// Writes all n bytes to the machine, continuing each time with the first byte
// not yet taken. False on a failed write or a stall.
bool WriteAll(MachineLink& link, System& system, const std::uint8_t* data, int n) {
    StallWatch watch(system);
    int written = 0;
    while (written < n) {
        const int w = link.WriteRaw(data + written, n - written);
        if (w < 0) return false;
        if (w > 0) {
            written += w;
            watch.Progress();
        } else if (watch.Stalled()) {
            return false;
        }
    }
    return true;
}

}  // namespace

// The report is a text of any length that ends with a NUL byte; only the last
// byte of each piece is tested for it. The sink receives every byte, the NUL
// included.
bool MachineLink::GetReport(File& sink) {
    if (!SendCommand(kCmdReport)) return false;
    std::array<std::uint8_t, kReportPiece> piece;
    StallWatch watch(platform.system);
    std::uint64_t received = 0;
    for (;;) {
        const int n = ReadRaw(piece.data(), kReportPiece);
        if (n < 0) return false;
        if (n == 0) {
            if (watch.Stalled()) return false;
            continue;
        }
        watch.Progress();
        received += static_cast<std::uint64_t>(n);
        if (received > kReportMaxBytes) return false;
        const bool ended = piece[static_cast<std::size_t>(n - 1)] == 0;
        if (!Store(sink, piece.data(), n, platform.alerts)) {
            // A piece that carried the final NUL has already emptied the stream.
            if (!ended) DrainReport(*this, platform.system, received);
            return false;
        }
        if (ended) return true;
    }
}

bool MachineLink::GetParameters(File& file) {
    std::uint32_t announced = 0;
    if (QueryDwords(kCmdParameters, kParametersRead, &announced, 1) < 1) return false;
    const auto length = static_cast<std::int32_t>(announced);
    try {
        file.Seek(0, File::SeekFrom::Begin);
    } catch (const FrameworkException& error) {
        platform.alerts.ReportError(error);
        DrainBlock(*this, platform.system, length);
        return false;
    }
    return ReadBlock(file, length) > 0;
}

// Bytes are counted off the announced length as soon as they leave the
// channel, so that a sink failure drains exactly what the machine still has to
// send.
int MachineLink::ReadBlock(File& sink, std::int32_t length) {
    std::array<std::uint8_t, kBlockPiece> piece;
    StallWatch watch(platform.system);
    std::int32_t remaining = length;
    int total = 0;
    while (remaining > 0) {
        const int n = ReadRaw(piece.data(), std::min(remaining, kBlockPiece));
        if (n < 0) return -1;
        remaining -= n;
        if (!Store(sink, piece.data(), n, platform.alerts)) {
            DrainBlock(*this, platform.system, remaining);
            return -1;
        }
        total += n;
        if (n > 0) {
            watch.Progress();
        } else if (watch.Stalled()) {
            return -1;
        }
    }
    ReadRaw(piece.data(), kBlockPiece);  // the machine's closing read, discarded
    return total;
}

// The machine is not told the block's length: the file's whole content
// follows the announcing command as raw writes. The file is measured and
// rewound before the command, so that a file that cannot be measured or
// rewound is refused before the machine is told to expect a block.
bool MachineLink::PutParameters(File& file) {
    try {
        if (file.GetLength() == 0) return false;
        file.Seek(0, File::SeekFrom::Begin);
    } catch (const FrameworkException& error) {
        platform.alerts.ReportError(error);
        return false;
    }
    std::uint32_t unused = 0;
    if (QueryDwords(kCmdParameters, kParametersWrite, &unused, 1) < 1) return false;
    std::array<std::uint8_t, kBlockPiece> piece;
    try {
        for (;;) {
            const std::uint32_t n = file.Read(piece.data(), kBlockPiece);
            if (n == 0) return true;
            const int count = static_cast<int>(std::min<std::uint32_t>(n, kBlockPiece));
            if (!WriteAll(*this, platform.system, piece.data(), count)) return false;
        }
    } catch (const FrameworkException& error) {
        platform.alerts.ReportError(error);
        return false;
    }
}

}  // namespace hw
