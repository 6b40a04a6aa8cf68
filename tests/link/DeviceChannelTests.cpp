#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "AllocationCounter.h"
#include "fakes/FakePlatform.h"
#include "link/DeviceChannel.h"
#include "link/Discovery.h"
#include "platform/files/FileErrors.h"
#include "platform/files/MemFile.h"
#include "sim/pc/SimEnvironment.h"

namespace hw::test {
namespace {

constexpr const char* kQueue = "QMV-240";

class Channel : public ::testing::Test {
  protected:
    void SetUp() override { path = fake.InstallMachine(kQueue, "USB001", "A1B2C3"); }

    FakePlatform fake;
    DeviceChannel channel{fake.platform};
    std::string path;
};

// A source that records the size of every read asked of it.
class RecordingFile final : public File {
  public:
    explicit RecordingFile(std::size_t size, bool failSecondRead = false)
        : size(size), failSecondRead(failSecondRead) {}
    std::uint32_t Read(void* buffer, std::uint32_t n) override {
        if (failSecondRead && reads.size() == 1) {
            throw FileException(FileException::Cause::AccessDenied, "fw.bin");
        }
        const auto count = static_cast<std::uint32_t>(std::min<std::size_t>(n, size - position));
        for (std::uint32_t i = 0; i < count; ++i) {
            static_cast<std::uint8_t*>(buffer)[i] = static_cast<std::uint8_t>(position + i);
        }
        position += count;
        reads.push_back(count);
        return count;
    }
    void Write(const void*, std::uint32_t) override {}
    std::uint64_t Seek(std::int64_t, SeekFrom) override { return position; }
    std::uint64_t GetLength() const override { return size; }

    std::vector<std::uint32_t> reads;

  private:
    std::size_t size;
    std::size_t position = 0;
    bool failSecondRead;
};

TEST_F(Channel, CloseOfANeverOpenedChannelSucceeds) {
    EXPECT_TRUE(channel.Close());
    EXPECT_TRUE(fake.device.closes.empty());
}

TEST_F(Channel, OpenRecordsThePrinterAndClosesClearIt) {
    ASSERT_TRUE(channel.Open(kQueue, false));
    EXPECT_EQ(channel.DevicePath(), path);
    EXPECT_EQ(channel.MutexName(), "Global\\QMV-240");
    EXPECT_EQ(fake.device.opens.back(), std::make_pair(path, 0x80u));
    EXPECT_TRUE(channel.Close());
    EXPECT_TRUE(channel.PrinterName().empty());
    EXPECT_TRUE(channel.DevicePath().empty());
}

TEST_F(Channel, FailedCloseKeepsTheChannelOpen) {
    ASSERT_TRUE(channel.Open(kQueue, false));
    fake.device.closeSucceeds = false;
    EXPECT_FALSE(channel.Close());
    EXPECT_TRUE(channel.IsHandleValid());
    EXPECT_EQ(channel.PrinterName(), kQueue);
    fake.device.closeSucceeds = true;
}

TEST_F(Channel, FailedOpenLeavesThePrinterRecorded) {
    fake.device.openablePaths.clear();
    EXPECT_FALSE(channel.Open(kQueue, false));
    EXPECT_TRUE(channel.Close());
    EXPECT_EQ(channel.PrinterName(), kQueue);
    EXPECT_EQ(channel.DevicePath(), path);
}

TEST_F(Channel, OpenFailsWhenTheVersionOrThePathIsUnknown) {
    fake.system.versionFails = true;
    EXPECT_FALSE(channel.Open(kQueue, false));
    fake.system.versionFails = false;
    EXPECT_FALSE(channel.Open("Another queue", false));
    fake.system.platformId = kPlatformWin32Windows;  // no 95/98/Me layout installed
    EXPECT_FALSE(channel.Open(kQueue, false));
    EXPECT_TRUE(fake.device.opens.empty());
    EXPECT_TRUE(channel.PrinterName().empty());
}

TEST_F(Channel, CheckConnectionOnAClosedChannelChangesNothing) {
    EXPECT_FALSE(channel.CheckConnection());
    EXPECT_TRUE(fake.device.opens.empty());
}

TEST_F(Channel, CheckConnectionAsksForTheDeviceIdAndKeepsAnAnsweringHandle) {
    ASSERT_TRUE(channel.Open(kQueue, false));
    EXPECT_TRUE(channel.CheckConnection());
    const auto& query = fake.device.controls.back();
    EXPECT_EQ(query.code, kIoctlQueryDeviceId);
    EXPECT_EQ(query.outLength, 4094u);
    EXPECT_EQ(fake.device.opens.size(), 1u);
}

TEST_F(Channel, CheckConnectionReopensWithTheSameFlags) {
    ASSERT_TRUE(channel.Open(kQueue, true));
    fake.device.deviceIdFails = true;
    EXPECT_TRUE(channel.CheckConnection());
    ASSERT_EQ(fake.device.opens.size(), 2u);
    EXPECT_EQ(fake.device.opens[1], std::make_pair(path, 0x40000080u));
    EXPECT_EQ(fake.device.closes.size(), 1u);

    fake.device.openablePaths.clear();  // unplugged
    EXPECT_FALSE(channel.CheckConnection());
    EXPECT_FALSE(channel.IsHandleValid());
    EXPECT_EQ(channel.PrinterName(), kQueue);
    fake.device.openablePaths.insert(path);  // plugged back in
    EXPECT_TRUE(channel.CheckConnection());
}

TEST_F(Channel, CheckConnectionFindsTheMachineAgainOnAnotherPort) {
    ASSERT_TRUE(channel.Open(kQueue, false));
    fake.device.deviceIdFails = true;
    fake.device.openablePaths.clear();
    // Plugged into another port, the machine has no serial number to keep:
    // its printing node is made again under a new parent instance.
    fake.registry.Set(std::string(kNtPrintRoot) + "\\VarnelQMV-240\\7&A1B2C3&0&USB001",
                      "DeviceDesc", "");
    const std::string moved = InstallNtMachineKeys(fake.registry, "USB001", "6&3F0A&0&2");
    fake.device.openablePaths.insert(moved);
    EXPECT_TRUE(channel.CheckConnection());
    EXPECT_EQ(channel.DevicePath(), moved);
    EXPECT_EQ(fake.device.opens.back().first, moved);
}

TEST_F(Channel, VendorGetAsksForThePayloadBehindTheHeader) {
    ASSERT_TRUE(channel.Open(kQueue, false));
    std::vector<std::uint8_t> block(35, 0);
    block[0] = 0xF0;
    fake.device.replies = {Reply({0x42, 0x01})};
    ASSERT_TRUE(channel.VendorGet(block.data(), 35));
    const auto& call = fake.device.controls.back();
    EXPECT_EQ(call.code, kIoctlVendorGetCommand);
    EXPECT_EQ(call.input.size(), 3u);
    EXPECT_EQ(call.outLength, 32u);
    EXPECT_EQ(block[3], 0x42);
    EXPECT_EQ(block[0], 0xF0);
}

TEST_F(Channel, VendorGetFailsOnAReplyShorterThanAsked) {
    ASSERT_TRUE(channel.Open(kQueue, false));
    std::vector<std::uint8_t> block(35, 0);
    fake.device.repliesShortBy = 1;
    EXPECT_FALSE(channel.VendorGet(block.data(), 35));
}

TEST_F(Channel, RawReadsAndWritesReportCountsOrMinusOne) {
    std::uint8_t data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(channel.Read(data, 8), -1);  // not open
    ASSERT_TRUE(channel.Open(kQueue, false));
    fake.device.reads = {{{9, 9, 9}}, {{}, true}};
    EXPECT_EQ(channel.Read(data, 8), 3);
    EXPECT_EQ(channel.Read(data, 8), -1);
    fake.device.writeLimit = 5;
    EXPECT_EQ(channel.Write(data, 8), 5);
    EXPECT_EQ(channel.Write(data, -1), -1);
}

TEST_F(Channel, SendFileSpoolsOneRawJobInPiecesOf32768) {
    ASSERT_TRUE(channel.Open(kQueue, false));
    RecordingFile file(70000);
    EXPECT_TRUE(channel.SendFile(file));
    EXPECT_EQ(file.reads, (std::vector<std::uint32_t>{32768, 32768, 4464, 0}));
    ASSERT_EQ(fake.spooler.jobs.size(), 1u);
    const auto& job = fake.spooler.jobs[0];
    EXPECT_EQ(job.printer, kQueue);
    EXPECT_EQ(job.documentName, "Updater");
    EXPECT_EQ(job.writeSizes, (std::vector<std::uint32_t>{32768, 32768, 4464}));
    ASSERT_EQ(job.data.size(), 70000u);
    EXPECT_EQ(job.data[69999], static_cast<std::uint8_t>(69999));
    EXPECT_TRUE(job.ended);
    EXPECT_FALSE(job.aborted);
    EXPECT_EQ(fake.spooler.openPrinters, 0);
}

TEST_F(Channel, SendFileContinuesPartialWritesWhereTheyStopped) {
    ASSERT_TRUE(channel.Open(kQueue, false));
    fake.spooler.writeLimit = 30000;
    RecordingFile file(40000);
    EXPECT_TRUE(channel.SendFile(file));
    const auto& job = fake.spooler.jobs[0];
    EXPECT_EQ(job.writeSizes, (std::vector<std::uint32_t>{32768, 2768, 7232}));
    for (std::size_t i = 0; i < job.data.size(); ++i) {
        ASSERT_EQ(job.data[i], static_cast<std::uint8_t>(i)) << i;
    }
}

// A job that did not complete is aborted, never ended: the spooler would
// print the part it took.
TEST_F(Channel, SendFileAbortsTheJobAtTheFirstFailedWrite) {
    ASSERT_TRUE(channel.Open(kQueue, false));
    fake.spooler.failingWrites = {1};
    RecordingFile file(100000);
    EXPECT_FALSE(channel.SendFile(file));
    EXPECT_EQ(file.reads.size(), 2u);  // nothing read after the failed piece
    EXPECT_EQ(fake.spooler.jobs[0].writeSizes.size(), 2u);
    EXPECT_TRUE(fake.spooler.jobs[0].aborted);
    EXPECT_FALSE(fake.spooler.jobs[0].ended);
    EXPECT_EQ(fake.spooler.openPrinters, 0);
}

TEST_F(Channel, SendFileOfAnEmptyFileWritesNothingAndSucceeds) {
    ASSERT_TRUE(channel.Open(kQueue, false));
    RecordingFile empty(0);
    EXPECT_TRUE(channel.SendFile(empty));
    EXPECT_TRUE(fake.spooler.jobs[0].writeSizes.empty());
    EXPECT_TRUE(fake.spooler.jobs[0].ended);
}

TEST_F(Channel, SendFileFailsWhenTheSpoolerTakesNothing) {
    ASSERT_TRUE(channel.Open(kQueue, false));
    fake.spooler.acceptsNothing = true;
    RecordingFile file(10);
    EXPECT_FALSE(channel.SendFile(file));
    EXPECT_EQ(fake.spooler.jobs[0].writeSizes.size(), 1u);
    EXPECT_TRUE(fake.spooler.jobs[0].aborted);
}

// The channel shows nothing for a source that cannot be read: the caller
// decides what the technician is told.
TEST_F(Channel, SendFileAbortsTheJobQuietlyWhenTheSourceCannotBeRead) {
    ASSERT_TRUE(channel.Open(kQueue, false));
    RecordingFile file(100000, true);
    EXPECT_FALSE(channel.SendFile(file));
    EXPECT_TRUE(fake.alerts.reports.empty());
    EXPECT_EQ(fake.spooler.jobs[0].writeSizes, std::vector<std::uint32_t>{32768});
    EXPECT_TRUE(fake.spooler.jobs[0].aborted);
    EXPECT_FALSE(fake.spooler.jobs[0].ended);
    EXPECT_EQ(fake.spooler.openPrinters, 0);
}

TEST_F(Channel, SendFileWithoutMemoryForItsPieceShowsTheMemoryBoxAndSpoolsNothing) {
    ASSERT_TRUE(channel.Open(kQueue, false));
    RecordingFile file(10);
    bool sent = true;
    {
        AllocationsRefused outOfMemory;
        sent = channel.SendFile(file);
    }
    EXPECT_FALSE(sent);
    EXPECT_EQ(fake.alerts.outOfMemory, 1);
    EXPECT_TRUE(fake.spooler.jobs.empty());
    EXPECT_TRUE(file.reads.empty());
}

TEST_F(Channel, SendFileToAnUnknownPrinterSendsNothing) {
    RecordingFile file(10);
    EXPECT_FALSE(channel.SendFile(file));  // no printer recorded
    EXPECT_TRUE(file.reads.empty());
    EXPECT_TRUE(fake.spooler.jobs.empty());
}

TEST(ChannelLifetime, DestructionClosesTheHandle) {
    FakePlatform fake;
    fake.InstallMachine(kQueue, "USB001", "A1B2C3");
    {
        DeviceChannel channel(fake.platform);
        ASSERT_TRUE(channel.Open(kQueue, false));
    }
    EXPECT_EQ(fake.device.closes.size(), 1u);
}

}  // namespace
}  // namespace hw::test
