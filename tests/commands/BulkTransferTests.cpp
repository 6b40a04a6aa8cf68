#include <cstring>
#include <numeric>

#include "ConnectedLink.h"
#include "platform/files/MemFile.h"

namespace hw::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// n bytes, none of them 0.
Bytes Pattern(std::size_t n, std::uint8_t seed = 0) {
    Bytes bytes(n);
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>((i + seed) % 251 + 1);
    return bytes;
}

Bytes Concat(const std::vector<Bytes>& pieces) {
    Bytes all;
    for (const auto& p : pieces) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// A memory file that records its writes and throws on chosen calls.
class ScriptedFile final : public File {
  public:
    MemFile data;
    std::vector<std::uint32_t> writeSizes;
    std::size_t throwAtWrite = SIZE_MAX;
    std::size_t throwAtRead = SIZE_MAX;
    bool throwOnSeek = false;
    bool throwOnLength = false;
    bool outOfMemory = false;

    explicit ScriptedFile(const Bytes& initial = {}) {
        if (!initial.empty())
            data.Write(initial.data(), static_cast<std::uint32_t>(initial.size()));
    }

    std::uint32_t Read(void* buffer, std::uint32_t n) override {
        if (reads++ == throwAtRead) Throw();
        return data.Read(buffer, n);
    }
    void Write(const void* buffer, std::uint32_t n) override {
        writeSizes.push_back(n);
        if (writes++ == throwAtWrite) Throw();
        data.Write(buffer, n);
    }
    std::uint64_t Seek(std::int64_t offset, SeekFrom from) override {
        if (throwOnSeek) Throw();
        return data.Seek(offset, from);
    }
    std::uint64_t GetLength() const override {
        if (throwOnLength) Throw();
        return data.GetLength();
    }

    Bytes Contents() const {
        const auto* p = data.Data();
        return p == nullptr ? Bytes{} : Bytes(p, p + data.GetLength());
    }

  private:
    [[noreturn]] void Throw() const {
        if (outOfMemory) throw MemoryException();
        throw FileException(FileException::Cause::DiskFull, "params.bin");
    }
    std::size_t reads = 0;
    std::size_t writes = 0;
};

class BulkTest : public ConnectedLink {
  protected:
    void Deliver(const Bytes& bytes) { fp.device.reads.push_back({bytes}); }
    void DeliverNothing(int times) {
        for (int i = 0; i < times; ++i) fp.device.reads.push_back({});
    }
    void FailRead() { fp.device.reads.push_back({{}, true}); }
    // The machine's answer to command 105: the 32-bit length.
    void AnnounceLength(std::int32_t length) {
        const auto v = static_cast<std::uint32_t>(length);
        Answer({0, 1, 0, 0, static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)});
    }
    // The machine's answer to command 105 with sub-code 1: one integer.
    void AcceptParameters() { Answer({0, 1, 0, 0, 0, 0, 0, 0}); }
    // Lets each clock reading advance one second, so that a channel that
    // keeps moving nothing stalls after eleven tries.
    void SecondPerTick() { fp.system.step = 1000; }

    const std::vector<std::uint32_t>& ReadSizes() const { return fp.device.readRequests; }
    std::vector<std::size_t> WriteSizes() const {
        std::vector<std::size_t> sizes;
        for (const auto& w : fp.device.writes) sizes.push_back(w.size());
        return sizes;
    }

    ScriptedFile sink;
};

// ---- Service report ----

TEST_F(BulkTest, ReportInOnePieceEndingInNul) {
    Bytes text = Pattern(1023);
    text.back() = 0;
    Deliver(text);
    ASSERT_TRUE(link.GetReport(sink));
    ExpectRequest(OnlyRequest(), {102, 0x01, 0});
    EXPECT_EQ(ReadSizes(), std::vector<std::uint32_t>{1023});
    EXPECT_EQ(sink.writeSizes, std::vector<std::uint32_t>{1023});
    EXPECT_EQ(sink.Contents(), text);
}

TEST_F(BulkTest, ReportGoesOnPastInnerNulsAndEmptyReadsUntilAPieceEndsInNul) {
    Bytes withInnerNul = Pattern(700, 3);
    withInnerNul[350] = 0;
    const std::vector<Bytes> pieces = {Pattern(1023), withInnerNul, {}, Pattern(10, 7), {0}};
    for (const auto& p : pieces) Deliver(p);
    Deliver(Pattern(5));  // not part of the report
    ASSERT_TRUE(link.GetReport(sink));
    EXPECT_EQ(sink.writeSizes, (std::vector<std::uint32_t>{1023, 700, 10, 1}));
    EXPECT_EQ(sink.Contents(), Concat(pieces));
    EXPECT_EQ(ReadSizes().size(), 5u);
}

TEST_F(BulkTest, ReportFailsWithoutReadingWhenTheCommandFails) {
    Answer({0xEE});
    Deliver({0});
    EXPECT_FALSE(link.GetReport(sink));
    EXPECT_TRUE(ReadSizes().empty());
}

TEST_F(BulkTest, ReportStopsAtAFailedRead) {
    Deliver(Pattern(100));
    FailRead();
    Deliver({0});
    EXPECT_FALSE(link.GetReport(sink));
    EXPECT_EQ(ReadSizes().size(), 2u);
}

TEST_F(BulkTest, ReportGivesUpAfterTenSecondsWithoutData) {
    SecondPerTick();
    Deliver(Pattern(100));
    DeliverNothing(9);
    Deliver(Pattern(100));  // progress restarts the clock
    // From here on the channel delivers nothing.
    EXPECT_FALSE(link.GetReport(sink));
    EXPECT_EQ(ReadSizes().size(), 1 + 9 + 1 + 11u);
    EXPECT_EQ(sink.Contents().size(), 200u);
}

TEST_F(BulkTest, ReportLongerThanTheBoundFails) {
    const std::size_t whole = kReportMaxBytes / kReportPiece;  // pieces that fit
    for (std::size_t i = 0; i < whole; ++i) Deliver(Pattern(kReportPiece));
    Deliver(Pattern(kReportPiece));
    Deliver({0});
    EXPECT_FALSE(link.GetReport(sink));
    EXPECT_EQ(sink.GetLength(), whole * kReportPiece);
    EXPECT_EQ(ReadSizes().size(), whole + 1);
}

TEST_F(BulkTest, ReportOfExactlyTheBoundSucceeds) {
    const std::size_t whole = kReportMaxBytes / kReportPiece;
    for (std::size_t i = 0; i < whole; ++i) Deliver(Pattern(kReportPiece));
    Bytes last = Pattern(kReportMaxBytes - whole * kReportPiece);
    last.back() = 0;
    Deliver(last);
    EXPECT_TRUE(link.GetReport(sink));
    EXPECT_EQ(sink.GetLength(), kReportMaxBytes);
}

TEST_F(BulkTest, ReportSinkFailureIsShownAndTheStreamDrained) {
    sink.throwAtWrite = 1;
    Deliver(Pattern(1023));
    Deliver(Pattern(1023));  // the sink refuses this piece
    Deliver(Pattern(40));
    Deliver({});
    Deliver({1, 0});      // the end of the report
    Deliver(Pattern(3));  // whatever follows stays unread
    EXPECT_FALSE(link.GetReport(sink));
    EXPECT_EQ(fp.alerts.reports, std::vector<std::string>{"Disk full while accessing params.bin."});
    EXPECT_EQ(ReadSizes().size(), 5u);
    EXPECT_EQ(fp.device.reads.size(), 1u);
}

TEST_F(BulkTest, ReportSinkFailureOnTheLastPieceReadsNoFurther) {
    SecondPerTick();  // a needless drain would end, and show, in a stall
    sink.throwAtWrite = 0;
    sink.outOfMemory = true;
    Deliver({'o', 'k', 0});
    Deliver(Pattern(3));
    EXPECT_FALSE(link.GetReport(sink));
    EXPECT_EQ(fp.alerts.reports, std::vector<std::string>{"Out of memory."});
    EXPECT_EQ(ReadSizes().size(), 1u);
}

TEST_F(BulkTest, ReportDrainGivesUpOnAStalledChannel) {
    SecondPerTick();
    sink.throwAtWrite = 0;
    Deliver(Pattern(10));
    EXPECT_FALSE(link.GetReport(sink));
    EXPECT_EQ(fp.alerts.reports.size(), 1u);
    EXPECT_EQ(ReadSizes().size(), 1 + 11u);
}

// ---- Parameter block read ----

TEST_F(BulkTest, ParametersReadInPiecesThenOneDiscardedRead) {
    const Bytes block = Pattern(2500);
    ScriptedFile file(Bytes(3000, 0xAA));  // an older, longer file is overwritten from the start
    AnnounceLength(2500);
    Deliver(block);
    Deliver(Pattern(1024, 9));
    ASSERT_TRUE(link.GetParameters(file));
    ExpectRequest(OnlyRequest(), {105, 0x40, 0, 0});
    EXPECT_EQ(ReadSizes(), (std::vector<std::uint32_t>{1024, 1024, 452, 1024}));
    const Bytes contents = file.Contents();
    EXPECT_EQ(Bytes(contents.begin(), contents.begin() + 2500), block);
    EXPECT_TRUE(fp.device.reads.empty());
}

TEST_F(BulkTest, ParametersWithNoLengthReadOnlyTheDiscardedPiece) {
    for (const std::int32_t length : {0, -5}) {
        fp.device.readRequests.clear();
        AnnounceLength(length);
        EXPECT_FALSE(link.GetParameters(sink)) << length;
        EXPECT_EQ(ReadSizes(), std::vector<std::uint32_t>{1024}) << length;
    }
}

TEST_F(BulkTest, ParametersWithoutAnAnswerReadNothing) {
    Answer({0, 0, 0, 0, 0xC4, 0x09});
    EXPECT_FALSE(link.GetParameters(sink));
    Answer({0xEE, 1, 0, 0, 0xC4, 0x09});
    EXPECT_FALSE(link.GetParameters(sink));
    EXPECT_TRUE(ReadSizes().empty());
}

TEST_F(BulkTest, ParametersStopAtAFailedReadWithoutTheDiscardedRead) {
    AnnounceLength(2500);
    Deliver(Pattern(1024));
    FailRead();
    EXPECT_FALSE(link.GetParameters(sink));
    EXPECT_EQ(ReadSizes(), (std::vector<std::uint32_t>{1024, 1024}));
}

TEST_F(BulkTest, ParametersSinkFailureDrainsExactlyTheAnnouncedRest) {
    sink.throwAtWrite = 1;
    AnnounceLength(2500);
    Deliver(Pattern(2500));
    Deliver(Pattern(1024));
    EXPECT_FALSE(link.GetParameters(sink));
    EXPECT_EQ(fp.alerts.reports, std::vector<std::string>{"Disk full while accessing params.bin."});
    EXPECT_EQ(ReadSizes(), (std::vector<std::uint32_t>{1024, 1024, 452, 1024}));
    EXPECT_TRUE(fp.device.reads.empty());
}

TEST_F(BulkTest, ParametersRewindFailureIsShownAndTheBlockDrained) {
    sink.throwOnSeek = true;
    AnnounceLength(1500);
    Deliver(Pattern(1500));
    EXPECT_FALSE(link.GetParameters(sink));
    EXPECT_EQ(fp.alerts.reports.size(), 1u);
    EXPECT_EQ(ReadSizes(), (std::vector<std::uint32_t>{1024, 476, 1024}));
    EXPECT_TRUE(sink.writeSizes.empty());
}

TEST_F(BulkTest, ParametersGiveUpWhenTheBlockStalls) {
    SecondPerTick();
    AnnounceLength(2500);
    Deliver(Pattern(1024));
    EXPECT_FALSE(link.GetParameters(sink));
    EXPECT_EQ(ReadSizes().size(), 1 + 11u);  // no discarded read after a stall
    EXPECT_TRUE(fp.alerts.reports.empty());
}

TEST_F(BulkTest, ReadBlockPassesEveryReadToTheSink) {
    Deliver(Pattern(4));
    Deliver({});
    Deliver(Pattern(6));
    EXPECT_EQ(link.ReadBlock(sink, 10), 10);
    EXPECT_EQ(sink.writeSizes, (std::vector<std::uint32_t>{4, 0, 6}));
    EXPECT_EQ(ReadSizes(), (std::vector<std::uint32_t>{10, 6, 6, 1024}));
}

// ---- Parameter block write ----

TEST_F(BulkTest, EmptyParameterFileSendsNothing) {
    ScriptedFile empty;
    EXPECT_FALSE(link.PutParameters(empty));
    EXPECT_TRUE(fp.device.controls.empty());
    EXPECT_TRUE(fp.device.writes.empty());
}

TEST_F(BulkTest, ParameterFileIsWrittenInPiecesAfterTheCommand) {
    const Bytes block = Pattern(2500);
    ScriptedFile file(block);  // positioned at its end: the write rewinds it
    AcceptParameters();
    ASSERT_TRUE(link.PutParameters(file));
    ExpectRequest(OnlyRequest(), {105, 0x40, 1, 0});
    EXPECT_EQ(WriteSizes(), (std::vector<std::size_t>{1024, 1024, 452}));
    EXPECT_EQ(Concat(fp.device.writes), block);
}

TEST_F(BulkTest, PartialWritesContinueAtTheFirstUnwrittenByte) {
    const Bytes block = Pattern(1500);
    ScriptedFile file(block);
    fp.device.writeLimit = 300;
    AcceptParameters();
    ASSERT_TRUE(link.PutParameters(file));
    EXPECT_EQ(WriteSizes(), (std::vector<std::size_t>{300, 300, 300, 124, 300, 176}));
    EXPECT_EQ(Concat(fp.device.writes), block);
}

TEST_F(BulkTest, ParameterWriteStopsAtAFailedWriteOrARefusedCommand) {
    ScriptedFile file(Pattern(2500));
    fp.device.failingWrite = 1;
    AcceptParameters();
    EXPECT_FALSE(link.PutParameters(file));
    EXPECT_EQ(WriteSizes().size(), 1u);

    fp.device.writes.clear();
    Answer({0xEE});
    EXPECT_FALSE(link.PutParameters(file));
    Answer({0, 0});  // done, but without the integer
    EXPECT_FALSE(link.PutParameters(file));
    EXPECT_TRUE(fp.device.writes.empty());
}

TEST_F(BulkTest, ParameterFileReadFailureIsShown) {
    ScriptedFile file(Pattern(2500));
    file.throwAtRead = 1;
    AcceptParameters();
    EXPECT_FALSE(link.PutParameters(file));
    EXPECT_EQ(fp.alerts.reports, std::vector<std::string>{"Disk full while accessing params.bin."});
    EXPECT_EQ(WriteSizes(), std::vector<std::size_t>{1024});
}

// A file that cannot be measured or rewound is refused before the machine is
// told to expect a block.
TEST_F(BulkTest, ParameterFileThatCannotBeMeasuredOrRewoundIsShownAndNothingSent) {
    struct Case {
        const char* failing;
        bool length;
        bool seek;
    };
    for (const Case c : {Case{"length", true, false}, Case{"seek", false, true}}) {
        ScriptedFile file(Pattern(2500));
        file.throwOnLength = c.length;
        file.throwOnSeek = c.seek;
        fp.alerts.reports.clear();
        AcceptParameters();
        EXPECT_FALSE(link.PutParameters(file)) << c.failing;
        EXPECT_EQ(fp.alerts.reports,
                  std::vector<std::string>{"Disk full while accessing params.bin."})
            << c.failing;
        EXPECT_TRUE(fp.device.controls.empty()) << c.failing;
        EXPECT_TRUE(fp.device.writes.empty()) << c.failing;
        fp.device.replies.clear();
    }
}

// A device whose raw writes take nothing from a chosen call on.
class StallingWrites final : public DeviceFiles {
  public:
    explicit StallingWrites(FakeDevice& wrapped) : inner(wrapped) {}
    std::size_t takeNothingFrom = SIZE_MAX;
    std::size_t writeCalls = 0;

    OsHandle Open(const std::string& path, std::uint32_t flags) override {
        return inner.Open(path, flags);
    }
    bool Close(OsHandle h) override { return inner.Close(h); }
    bool Read(OsHandle h, void* b, std::uint32_t n, std::uint32_t& done) override {
        return inner.Read(h, b, n, done);
    }
    bool Write(OsHandle h, const void* b, std::uint32_t n, std::uint32_t& done) override {
        if (writeCalls++ < takeNothingFrom) return inner.Write(h, b, n, done);
        done = 0;
        return true;
    }
    bool Control(OsHandle h, std::uint32_t code, const void* in, std::uint32_t inLength, void* out,
                 std::uint32_t outLength, std::uint32_t& returned) override {
        return inner.Control(h, code, in, inLength, out, outLength, returned);
    }

  private:
    FakeDevice& inner;
};

TEST_F(BulkTest, ParameterWriteGivesUpWhenTheMachineTakesNothing) {
    StallingWrites device(fp.device);
    LinkPlatform stalling{device, fp.locks, fp.system, fp.spooler, fp.registry, fp.alerts, fp.text};
    MachineLink stalled(stalling);
    ASSERT_TRUE(stalled.Connect("QMV-240", 0, kPacketSize, false));
    device.takeNothingFrom = 1;
    SecondPerTick();
    ScriptedFile file(Pattern(2500));
    AcceptParameters();
    EXPECT_FALSE(stalled.PutParameters(file));
    EXPECT_EQ(device.writeCalls, 1 + 11u);
    EXPECT_EQ(WriteSizes(), std::vector<std::size_t>{1024});
}

}  // namespace
}  // namespace hw::test
