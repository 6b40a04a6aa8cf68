// The link driven end to end against the simulated PC through its public API
// only: discovery, Connect, the command catalogue, the bulk transfers, file
// sends, and the faults the machine and its cable can show.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <future>
#include <iterator>
#include <string>

#include "commands/MachineLink.h"
#include "platform/files/MemFile.h"
#include "sim/pc/SimEnvironment.h"

namespace hw::test {
namespace {

std::vector<std::uint8_t> Contents(const MemFile& file) {
    return {file.Data(), file.Data() + file.GetLength()};
}

class EndToEndTest : public ::testing::Test {
  protected:
    explicit EndToEndTest(std::uint32_t platformId = kPlatformWin32Nt)
        : env(clock, SimConfig{}, platformId) {}

    void SetUp() override {
        ASSERT_EQ(link.FindPrinters(kSimDriverName), 1);
        ASSERT_TRUE(link.Connect(*link.PrinterName(0), 0, 32, false));
    }

    // Polls the status word until the busy bit clears, as the console does.
    std::uint16_t WaitWhileBusy() {
        std::uint16_t status = link.GetStatusWord();
        while (status != kStatusNoAnswer && (status & kStatusBusy) != 0) {
            clock.Advance(50);
            status = link.GetStatusWord();
        }
        return status;
    }

    TestClock clock{1};
    SimEnvironment env;
    MachineLink link{env.Platform()};
};

TEST_F(EndToEndTest, DiscoveryFindsTheQueueAndOpensTheMachineBehindIt) {
    EXPECT_EQ(*link.PrinterName(0), kSimQueueName);
    EXPECT_EQ(link.Channel().DevicePath(), env.DevicePath());
    EXPECT_TRUE(link.Channel().IsHandleValid());
    EXPECT_EQ(env.Registry().OpenKeys(), 0u);
    EXPECT_EQ(env.Spooler().OpenPrinters(), 0u);
    EXPECT_EQ(link.FindPrinters(nullptr), 2);
}

class LegacyEndToEndTest : public EndToEndTest {
  protected:
    LegacyEndToEndTest() : EndToEndTest(kPlatformWin32Windows) {}
};

TEST_F(LegacyEndToEndTest, TheOlderRegistryWalkReachesTheSameDevice) {
    EXPECT_EQ(link.Channel().DevicePath(), env.DevicePath());
    EXPECT_EQ(link.GetStatusWord(), kStatusReadyAtOrigin);
}

TEST_F(EndToEndTest, QueriesGiveTheMachineState) {
    EXPECT_EQ(link.GetStatusWord(), kStatusReadyAtOrigin);
    char version[64] = {};
    ASSERT_TRUE(link.GetVersionString(version, 64));
    EXPECT_STREQ(version, "QMV-240 V1.52 PNL-J");
    std::int32_t position[4] = {1, 1, 1, 1};
    EXPECT_EQ(link.GetPosition(position, 4), 4);
    EXPECT_EQ(position[0] | position[1] | position[2] | position[3], 0);
    env.Machine().SetKeys(0x2008);
    std::uint8_t keys[2] = {};
    ASSERT_EQ(link.GetPanelKeys(keys, 2), 2);
    EXPECT_EQ(keys[0], 0x20);
    EXPECT_EQ(keys[1], 0x08);
    std::uint8_t sensors[13] = {};
    ASSERT_EQ(link.GetSensorBytes(sensors, 13), 13);
    EXPECT_EQ(sensors[0] & 0x38, 0x38);
    env.Machine().TurnDial(-2);
    std::int32_t dial = 0;
    ASSERT_EQ(link.GetDialCounter(&dial, 1), 1);
    EXPECT_EQ(dial, -2);
    std::uint16_t analog[8] = {};
    EXPECT_EQ(link.GetAnalogValues(analog, 8), 8);
    EXPECT_EQ(link.ReadMeterChannel(nullptr, 1), -1);
    ASSERT_TRUE(link.SelectMeterChannel(0, 1));
    float amps = 0;
    ASSERT_EQ(link.ReadMeterChannel(&amps, 1), 1);
    EXPECT_NEAR(amps, 0.05, 0.02);
}

TEST_F(EndToEndTest, SettingsReachTheMachineAndReadBack) {
    ASSERT_TRUE(link.WriteSerialNumber("AB12345"));
    EXPECT_EQ(env.Machine().Parameters().Serial(), "AB12345");
    ASSERT_TRUE(link.SetScaleCorrection(kScaleAxisX, 100123, 100000));
    EXPECT_EQ(env.Machine().Parameters().Scale(0), 100123);
    EXPECT_FALSE(link.SetScaleCorrection(kScaleAxisY, 150000, 100000));
    const std::int32_t laser[2] = {-50, 80};
    ASSERT_TRUE(link.SetLaserOffset(laser));
    std::int32_t back[2] = {};
    ASSERT_TRUE(link.GetLaserOffset(back));
    EXPECT_EQ(back[0], -50);
    EXPECT_EQ(back[1], 80);
    const std::int32_t y0 = 300;
    ASSERT_TRUE(link.SetY0Offset(&y0));
    std::int32_t y0Back = 0;
    ASSERT_TRUE(link.GetY0Offset(&y0Back));
    EXPECT_EQ(y0Back, 300);
    ASSERT_TRUE(link.ClearSpindleTime());
    ASSERT_TRUE(link.ClearPumpTime());
    EXPECT_EQ(env.Machine().SpindleMinutes(), 0u);
    EXPECT_EQ(env.Machine().PumpMinutes(), 0u);
}

TEST_F(EndToEndTest, PanelCommandsReachThePanel) {
    ASSERT_TRUE(link.SetPanelOperation(0));
    EXPECT_FALSE(env.Machine().PanelOperation());
    ASSERT_TRUE(link.ShowPanelText("\x7F", 1, 0));
    EXPECT_EQ(env.Machine().PanelText(), "\x7F");
    EXPECT_EQ(env.Machine().PanelTextTime(), 254);
    ASSERT_TRUE(link.SetPanelOperation(1));
    EXPECT_TRUE(env.Machine().PanelOperation());
    ASSERT_TRUE(link.SetPanelMode(0));
}

TEST_F(EndToEndTest, MotionRunsFromOriginToTargetAndBack) {
    const std::int32_t park[4] = {0, 23000, 0, 9000};
    ASSERT_TRUE(link.MoveToPosition(park, 4, 3600));
    EXPECT_NE(link.GetStatusWord() & kStatusBusy, 0);
    EXPECT_EQ(WaitWhileBusy(), 0);  // still, but away from the origin
    std::int32_t at[4] = {};
    ASSERT_EQ(link.GetPosition(at, 4), 4);
    EXPECT_EQ(std::memcmp(at, park, sizeof at), 0);
    ASSERT_TRUE(link.ReturnToOrigin(0));
    EXPECT_EQ(link.GetStatusWord() & kStatusReadyAtOrigin, 0);
    EXPECT_EQ(WaitWhileBusy(), kStatusReadyAtOrigin);
    ASSERT_TRUE(link.MoveToPosition(park, 4, 3600));
    clock.Advance(100);
    ASSERT_TRUE(link.StopMotion());
    EXPECT_EQ(link.GetStatusWord(), 0);
}

TEST_F(EndToEndTest, LoadCheckIsWatchedToItsEnd) {
    for (const int percent : {60, 30}) {
        const auto power = static_cast<std::uint16_t>(percent);
        ASSERT_TRUE(link.StartLoadCheck(kLoadAxisZ, &power));
        std::uint16_t status = link.GetStatusWord();
        int polls = 0;
        while ((status & kStatusStateMask) == kStateProcedureRunning && (status & kStatusBusy)) {
            status = link.GetStatusWord();
            ++polls;
        }
        EXPECT_GT(polls, 10);
        EXPECT_EQ(status & kStatusStateMask, kStateProcedureRunning);
        EXPECT_EQ((status & kStatusFailed) != 0, power < 55) << power;
    }
}

TEST_F(EndToEndTest, AgingRunsUntilCancelled) {
    ASSERT_TRUE(link.StartAging());
    clock.Advance(30000);
    EXPECT_EQ(link.GetStatusWord(), kStateProcedureRunning | kStatusBusy);
    ASSERT_TRUE(link.CancelProcedure());
    // Stopped away from the origin: not ready until it returns there.
    EXPECT_EQ(link.GetStatusWord(), 0);
    ASSERT_TRUE(link.ReturnToOrigin(0));
    EXPECT_EQ(WaitWhileBusy(), kStatusReadyAtOrigin);
}

TEST_F(EndToEndTest, SerialPortCheckFailureShowsInTheStatus) {
    ASSERT_TRUE(link.CheckSerialPort());
    EXPECT_EQ(link.GetStatusWord() & kStatusFailed, 0);
    env.Machine().SetSerialLoopback(false);
    ASSERT_TRUE(link.CheckSerialPort());
    EXPECT_NE(link.GetStatusWord() & kStatusFailed, 0);
}

TEST_F(EndToEndTest, ReportArrivesWhole) {
    ASSERT_TRUE(link.WriteSerialNumber("AB12345"));
    MemFile sink;
    ASSERT_TRUE(link.GetReport(sink));
    const auto report = Contents(sink);
    ASSERT_GT(report.size(), 4000u);
    EXPECT_EQ(report.back(), 0);
    const std::string text(reinterpret_cast<const char*>(report.data()));
    EXPECT_EQ(text.size() + 1, report.size());
    EXPECT_NE(text.find("Serial number   : AB12345"), std::string::npos);
    EXPECT_NE(text.find("END OF REPORT"), std::string::npos);
}

TEST_F(EndToEndTest, ParameterBlockRoundTripIsByteIdentical) {
    MemFile first;
    ASSERT_TRUE(link.GetParameters(first));
    ASSERT_EQ(first.GetLength(), kSimBlockSize);
    EXPECT_EQ(Contents(first), env.Machine().Parameters().Block());

    // A block from another machine replaces this one's settings.
    SimParameters other("XYZ7777");
    other.SetLaser(12, -34);
    MemFile put;
    put.Write(other.Block().data(), kSimBlockSize);
    ASSERT_TRUE(link.PutParameters(put));
    EXPECT_EQ(env.Machine().Parameters().Serial(), "XYZ7777");

    // And the saved one restores them exactly.
    ASSERT_TRUE(link.PutParameters(first));
    MemFile second;
    ASSERT_TRUE(link.GetParameters(second));
    EXPECT_EQ(Contents(second), Contents(first));
    EXPECT_EQ(link.GetStatusWord() & kStatusFailed, 0);
}

TEST_F(EndToEndTest, TruncatedParameterFileLeavesTheBlockAlone) {
    const auto before = env.Machine().Parameters().Block();
    MemFile shortFile;
    shortFile.Write(before.data(), 1000);
    EXPECT_TRUE(link.PutParameters(shortFile));  // the machine is not told the length
    MemFile after;
    ASSERT_TRUE(link.GetParameters(after));
    EXPECT_EQ(Contents(after), before);
    EXPECT_NE(link.GetStatusWord() & kStatusFailed, 0);
}

TEST_F(EndToEndTest, FirmwareFileSentInUpdateModeArrivesUnchanged) {
    std::vector<std::uint8_t> image(70000);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 31);
    MemFile file;
    file.Write(image.data(), static_cast<std::uint32_t>(image.size()));
    file.Seek(0, File::SeekFrom::Begin);

    env.Machine().EnterUpdateMode();
    EXPECT_EQ(link.GetStatusWord() & kStatusUpdateMode, kStatusUpdateMode);
    ASSERT_TRUE(link.SendFile(file));
    EXPECT_EQ(env.Machine().Firmware(), image);
    EXPECT_EQ(env.Spooler().MachineJobs().at(0).documentName, "Updater");
    EXPECT_EQ(link.GetStatusWord(), kStatusReadyAtOrigin);

    // Command 100 with mode 1 puts the machine in update mode before the file.
    file.Seek(0, File::SeekFrom::Begin);
    ASSERT_TRUE(link.SendFileInMode(1, file));
    EXPECT_EQ(env.Machine().FirmwareUpdates(), 2);
}

// A job whose second piece the spooler refuses is aborted: the machine in
// update mode flashes none of it.
TEST_F(EndToEndTest, FirmwareJobWithAFailedWriteIsAbortedAndNeverFlashed) {
    MemFile file;
    const std::vector<std::uint8_t> image(70000, 0x5A);
    file.Write(image.data(), static_cast<std::uint32_t>(image.size()));
    file.Seek(0, File::SeekFrom::Begin);
    env.Machine().EnterUpdateMode();
    env.Spooler().FailWriteAfter(1);
    EXPECT_FALSE(link.SendFile(file));
    EXPECT_EQ(env.Machine().FirmwareUpdates(), 0);
    EXPECT_TRUE(env.Spooler().MachineJobs().empty());
    EXPECT_EQ(env.Spooler().AbortedJobs(), 1u);
    EXPECT_EQ(env.Spooler().OpenPrinters(), 0u);
}

// The console's built-in test cut, written raw, walks the rectangle of the
// two nominal lengths corner by corner, busy until it is back at the origin.
TEST_F(EndToEndTest, TestCutDataWrittenRawWalksTheRectangle) {
    const std::string cut =
        ";;^IN;!MC0;^PA;^PU;^VS20;!VZ8;!MC1;!PZ0,3000;^PU0,0;!PZ-3,50;^PU;^PU0,0;^PD0,19000;"
        "^PD23000,19000;^PD23000,0;^PD0,0;^PU;!MC0;!PZ0,3000;^PU;";
    ASSERT_EQ(cut.size(), 139u);
    ASSERT_EQ(link.WriteRaw(cut.data(), static_cast<int>(cut.size())), 139);

    // At 20 mm/s a 10 ms sample lands within 0.2 mm of each corner.
    constexpr std::uint64_t kSampleMs = 10;
    constexpr std::int32_t kNear = 20;
    const std::int32_t corners[][2] = {{0, 19000}, {23000, 19000}, {23000, 0}, {0, 0}};
    std::size_t reached = 0;
    while (reached < std::size(corners)) {
        const std::uint16_t status = link.GetStatusWord();
        ASSERT_NE(status & kStatusBusy, 0) << "idle before corner " << reached;
        std::int32_t at[4] = {};
        ASSERT_EQ(link.GetPosition(at, 4), 4);
        if (std::abs(at[0] - corners[reached][0]) <= kNear &&
            std::abs(at[1] - corners[reached][1]) <= kNear) {
            ++reached;
        }
        clock.Advance(kSampleMs);
    }
    EXPECT_EQ(WaitWhileBusy(), kStatusReadyAtOrigin);
    std::int32_t at[4] = {};
    ASSERT_EQ(link.GetPosition(at, 4), 4);
    EXPECT_EQ(at[0], 0);
    EXPECT_EQ(at[1], 0);
    EXPECT_EQ(at[2], 0);
}

// Faults: each ends in the documented failure, without hanging.

TEST_F(EndToEndTest, MachineThatStopsAnsweringTimesOut) {
    env.Faults().stopAnswering = true;
    const std::uint64_t start = clock.Peek();
    EXPECT_EQ(link.GetStatusWord(), kStatusNoAnswer);
    EXPECT_GT(clock.Peek() - start, kTransactionTimeoutMs);
    env.Faults().stopAnswering = false;
    EXPECT_EQ(link.GetStatusWord(), kStatusReadyAtOrigin);
}

// A mutex an elevated console made first refuses this console full access:
// the transaction opens it to wait and release only, and still takes turns.
TEST_F(EndToEndTest, MutexRefusingFullAccessIsOpenedToWaitAndRelease) {
    const OsHandle elevated = env.Locks().CreateRestricted("Global\\QMV-240");
    ASSERT_NE(elevated, kNullHandle);
    EXPECT_EQ(link.GetStatusWord(), kStatusReadyAtOrigin);
    ASSERT_EQ(env.Locks().Wait(elevated, 0), WaitOutcome::Acquired);
    EXPECT_EQ(std::async(std::launch::async, [&] { return link.GetStatusWord(); }).get(),
              kStatusNoAnswer);
    env.Locks().Release(elevated);
    env.Locks().Close(elevated);
    EXPECT_EQ(env.Locks().OpenHandles(), 0u);
}

TEST_F(EndToEndTest, RefusedCommandFails) {
    env.Faults().refuseCommands = 1;
    EXPECT_FALSE(link.ClearPumpTime());
    EXPECT_TRUE(link.ClearPumpTime());
}

// The cable pulled at each point the link can be in: the operation ends in
// its failure result without hanging, leaves no lock behind, and the link
// works again once the cable is back.
TEST_F(EndToEndTest, UnplugAtEveryPointFailsTheOperationAndReplugRecovers) {
    using Operation = std::function<bool(MachineLink&, SimEnvironment&)>;
    const Operation checkPort = [](MachineLink& l, SimEnvironment&) { return l.CheckSerialPort(); };
    const Operation getReport = [](MachineLink& l, SimEnvironment&) {
        MemFile sink;
        return l.GetReport(sink);
    };
    const Operation getBlock = [](MachineLink& l, SimEnvironment&) {
        MemFile sink;
        return l.GetParameters(sink);
    };
    const Operation putBlock = [](MachineLink& l, SimEnvironment& e) {
        MemFile source;
        source.Write(e.Machine().Parameters().Block().data(), kSimBlockSize);
        return l.PutParameters(source);
    };
    const Operation sendFile = [](MachineLink& l, SimEnvironment&) {
        MemFile file;
        const std::vector<std::uint8_t> bytes(100000, ';');
        file.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        file.Seek(0, File::SeekFrom::Begin);
        return l.SendFile(file);
    };
    struct Case {
        const char* what;
        SimUnplugAt point;
        Operation operation;
    };
    const Case cases[] = {
        {"before the data phase", SimUnplugAt::BeforeDataPhase, checkPort},
        {"between data phase and trigger", SimUnplugAt::BeforeTrigger, checkPort},
        {"right after the trigger", SimUnplugAt::AfterTrigger, checkPort},
        {"between polls", SimUnplugAt::BetweenPolls, checkPort},
        {"in the middle of the report", SimUnplugAt::MidStream, getReport},
        {"in the middle of a block read", SimUnplugAt::MidStream, getBlock},
        {"in the middle of a block put", SimUnplugAt::MidStream, putBlock},
        {"during a raw print job", SimUnplugAt::DuringPrintJob, sendFile},
    };
    for (const Case& c : cases) {
        TestClock clock{1};
        SimEnvironment env{clock};
        MachineLink link{env.Platform()};
        int changes = 0;
        env.OnDeviceChange([&changes] { ++changes; });
        ASSERT_EQ(link.FindPrinters(kSimDriverName), 1);
        ASSERT_TRUE(link.Connect(*link.PrinterName(0), 0, 32, false));

        env.Faults().unplugAt = c.point;
        EXPECT_FALSE(c.operation(link, env)) << c.what;
        EXPECT_FALSE(env.Plugged()) << c.what;
        EXPECT_EQ(changes, 1) << c.what;
        EXPECT_EQ(env.Locks().OpenHandles(), 0u) << c.what;
        EXPECT_TRUE(env.Spooler().MachineJobs().empty()) << c.what;

        clock.Advance(1000);  // a check cut off by the cable has ended meanwhile
        env.PlugIn();
        ASSERT_TRUE(link.CheckConnection()) << c.what;
        EXPECT_TRUE(c.operation(link, env)) << c.what;
    }
}

TEST_F(EndToEndTest, ReportSurvivesEmptyReadsAndShortPieces) {
    env.Faults().emptyReadsBeforePiece = 3;
    env.Faults().maxReadPiece = 97;
    MemFile sink;
    ASSERT_TRUE(link.GetReport(sink));
    const auto sinkBytes = Contents(sink);
    ASSERT_FALSE(sinkBytes.empty());
    EXPECT_EQ(sinkBytes.back(), 0);
    MemFile block;
    ASSERT_TRUE(link.GetParameters(block));
    EXPECT_EQ(Contents(block), env.Machine().Parameters().Block());
}

TEST_F(EndToEndTest, ReportWithoutItsNulFailsAfterTheStall) {
    env.Faults().reportWithoutNul = true;
    MemFile sink;
    EXPECT_FALSE(link.GetReport(sink));
    env.Faults().reportWithoutNul = false;
    MemFile again;
    EXPECT_TRUE(link.GetReport(again));
}

TEST_F(EndToEndTest, FailedBulkReadOrWriteFailsTheTransfer) {
    env.Faults().failNextRead = true;
    MemFile sink;
    EXPECT_FALSE(link.GetParameters(sink));
    env.Faults().failNextWrite = true;
    MemFile source;
    source.Write(env.Machine().Parameters().Block().data(), kSimBlockSize);
    EXPECT_FALSE(link.PutParameters(source));
}

TEST_F(EndToEndTest, FailingProcedureEndsWithTheFailedBit) {
    env.Faults().failNextProcedure = true;
    const std::uint16_t power = 100;
    ASSERT_TRUE(link.StartLoadCheck(kLoadAxisA, &power));
    clock.Advance(4000);
    EXPECT_EQ(link.GetStatusWord(), kStatusReadyAtOrigin | kStatusFailed);
}

}  // namespace
}  // namespace hw::test
