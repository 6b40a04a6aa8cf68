// The machine behind the controller: motion, homing, procedures and their
// status bits, the bulk transfers, print jobs and the rotary axis's lost motion.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "SimHost.h"

namespace hw::test {
namespace {

constexpr std::uint16_t kBusy = kSimStatusBusy;
constexpr std::uint16_t kFailed = kSimStatusFailed;

std::vector<std::uint8_t> MoveRequest(std::int32_t x, std::int32_t y, std::int32_t z,
                                      std::int32_t a) {
    std::vector<std::uint8_t> payload{64, 0x44, 0x10, 0x0E};  // 4 items, feed 3600
    for (std::int32_t v : {x, y, z, a}) {
        const auto bytes = Le32Bytes(v);
        payload.insert(payload.end(), bytes.begin(), bytes.end());
    }
    return payload;
}

SimPosition ReadPosition(SimHost& host) {
    const auto reply = host.Direct(3, 0x40, {1, 0});
    EXPECT_EQ(reply[1], 4);
    return {Le32(reply, 4), Le32(reply, 8), Le32(reply, 12), Le32(reply, 16)};
}

// Polls the status word until the busy bit clears; returns the last word.
std::uint16_t WaitWhileBusy(SimHost& host, int limitMs = 120000) {
    std::uint16_t status = host.Status();
    for (int waited = 0; (status & kBusy) != 0 && waited < limitMs; waited += 100) {
        host.clock.Advance(100);
        status = host.Status();
    }
    return status;
}

TEST(SimMachineTest, MoveTakesTimeAtItsFeedAndEndsAtTheTarget) {
    SimHost host;
    ASSERT_EQ(host.Exchange(MoveRequest(12000, 23000, 0, 90000))[0], 0);
    EXPECT_EQ(host.Status() & kBusy, kBusy);
    host.Wait(1000);  // 60 mm/s: 6000 counts a second on Y
    const SimPosition halfway = ReadPosition(host);
    EXPECT_GT(halfway[1], 4000);
    EXPECT_LT(halfway[1], 23000);
    EXPECT_EQ(WaitWhileBusy(host), 0);  // still, but away from the origin
    EXPECT_EQ(ReadPosition(host), (SimPosition{12000, 23000, 0, 90000}));
}

TEST(SimMachineTest, MovesAreRefusedOutsideTravelAndBeforeHoming) {
    SimHost host;
    EXPECT_EQ(host.Exchange(MoveRequest(70000, 0, 0, 0))[0], kSimOutOfRange);
    EXPECT_EQ(host.Exchange(MoveRequest(0, 0, 10, 0))[0], kSimOutOfRange);
    SimConfig cold;
    cold.homedAtPowerOn = false;
    SimHost unhomed(cold);
    EXPECT_EQ(unhomed.Exchange(MoveRequest(0, 0, 0, 0))[0], kSimNotReady);
}

TEST(SimMachineTest, ReturnToOriginClearsReadyUntilTheOriginIsReached) {
    SimConfig cold;
    cold.homedAtPowerOn = false;
    SimHost host(cold);
    ASSERT_NE(ReadPosition(host), (SimPosition{0, 0, 0, 0}));
    ASSERT_EQ(host.Direct(8, 0x01, {0})[0], 0);
    EXPECT_EQ(host.Status(), kBusy);
    EXPECT_EQ(WaitWhileBusy(host), kSimStateReady);
    EXPECT_EQ(ReadPosition(host), (SimPosition{0, 0, 0, 0}));
}

TEST(SimMachineTest, StopMotionHaltsWhereTheAxesStand) {
    SimHost host;
    ASSERT_EQ(host.Exchange(MoveRequest(50000, 0, 0, 0))[0], 0);
    host.Wait(500);
    ASSERT_EQ(host.Direct(9, 0x01, {0})[0], 0);
    const SimPosition stopped = ReadPosition(host);
    host.Wait(2000);
    EXPECT_EQ(ReadPosition(host), stopped);
    EXPECT_GT(stopped[0], 0);
    EXPECT_LT(stopped[0], 50000);
    EXPECT_EQ(host.Status(), 0);
}

TEST(SimMachineTest, LoadCheckPassesOrFailsByPowerAgainstTheAxisLoad) {
    struct Case {
        std::uint8_t axisCode;
        std::uint8_t power;
        bool fails;
    };
    // Loads: X 45, Y 50, Z 55, A 40 percent.
    const Case cases[] = {{1, 45, false}, {1, 44, true},  {2, 60, false}, {4, 54, true},
                          {4, 55, false}, {3, 40, false}, {3, 0, true}};
    for (const Case& c : cases) {
        SimHost host;
        ASSERT_EQ(host.Extended(113, 0x21, c.axisCode, {c.power, 0})[0], 0);
        EXPECT_EQ(host.Status(), kSimStateReady | kBusy) << int(c.axisCode);
        host.Wait(1500);
        EXPECT_EQ(host.Status(), kSimStateReady | kBusy);
        host.Wait(1600);
        const std::uint16_t expected = kSimStateReady | (c.fails ? kFailed : 0);
        EXPECT_EQ(host.Status(), expected) << int(c.axisCode) << " at " << int(c.power);
    }
}

TEST(SimMachineTest, LoadCheckRefusedWhileBusyAndCancelEndsItWithoutFailure) {
    SimHost host;
    ASSERT_EQ(host.Extended(113, 0x21, 1, {60, 0})[0], 0);
    EXPECT_EQ(host.Extended(113, 0x21, 2, {60, 0})[0], kSimNotReady);
    host.Wait(200);
    ASSERT_EQ(host.Direct(8, 0x01, {2})[0], 0);
    EXPECT_EQ(host.Status(), 0);  // stopped in mid-stroke
}

TEST(SimMachineTest, AgingRunsUntilCancelledAndCountsSpindleTime) {
    SimHost host;
    const std::uint32_t before = host.Machine().SpindleMinutes();
    ASSERT_EQ(host.Extended(114, 0x00, 1)[0], 0);
    for (int minute = 0; minute < 3; ++minute) {
        host.Wait(60000);
        EXPECT_EQ(host.Status(), kSimStateRunning | kBusy);
    }
    EXPECT_GE(host.Machine().SpindleMinutes(), before + 3);
    EXPECT_NE(ReadPosition(host), (SimPosition{0, 0, 0, 0}));
    ASSERT_EQ(host.Direct(8, 0x01, {2})[0], 0);
    EXPECT_EQ(host.Status(), 0);  // not ready: the axes stand where the run left them
    EXPECT_FALSE(host.Machine().SpindleOn());
}

TEST(SimMachineTest, FailingProcedureSetsTheFailedBit) {
    SimHost host;
    host.controller.Faults().failNextProcedure = true;
    ASSERT_EQ(host.Extended(114, 0x00, 1)[0], 0);
    host.Wait(6000);
    EXPECT_EQ(host.Status(), kFailed);  // stopped where the run failed
    // The next procedure starts with the bit clear.
    ASSERT_EQ(host.Extended(113, 0x21, 1, {60, 0})[0], 0);
    EXPECT_EQ(host.Status() & kFailed, 0);
}

// The check runs like the other procedures: busy with the failed bit clear
// while it runs (its command's reply pending meanwhile), the failed bit set
// at its end when the loopback is missing.
TEST(SimMachineTest, SerialPortCheckRunsBusyThenReportsThroughTheFailedBit) {
    for (bool loopback : {true, false}) {
        SimConfig config;
        config.serialLoopback = loopback;
        SimHost host(config);
        host.controller.Faults().failNextProcedure = true;
        ASSERT_EQ(host.Extended(119, 0x00, 0)[0], 0);
        ASSERT_EQ(host.Status(), kSimStateReady | kFailed);

        const std::uint64_t start = host.clock.Peek();
        EXPECT_EQ(host.Exchange({0x38, 0x00, 119, 0}, 50)[0], 0x38) << loopback;
        EXPECT_EQ(host.Machine().StatusWord(), kSimStateReady | kBusy) << loopback;
        EXPECT_EQ(host.PollOn()[0], 0) << loopback;
        EXPECT_GE(host.clock.Peek() - start, config.serialCheckMs);
        EXPECT_EQ(host.Status(), loopback ? kSimStateReady : kSimStateReady | kFailed);
    }
}

TEST(SimMachineTest, CoverOpenedWhileMovingIsAnError) {
    SimHost host;
    ASSERT_EQ(host.Exchange(MoveRequest(30000, 0, 0, 0))[0], 0);
    host.Machine().SetCoverOpen(true);
    EXPECT_EQ(host.Status(), kSimStateError | kFailed);
    EXPECT_EQ(host.Exchange(MoveRequest(0, 0, 0, 0))[0], kSimNotReady);
    host.Machine().SetCoverOpen(false);
    ASSERT_EQ(host.Direct(8, 0x01, {0})[0], 0);
    EXPECT_EQ(WaitWhileBusy(host), kSimStateReady);
}

TEST(SimMachineTest, ParameterBlockIsAnnouncedAndSentWhole) {
    SimHost host;
    const auto reply = host.Direct(105, 0x40, {0, 0});
    ASSERT_EQ(reply[1], 1);
    EXPECT_EQ(Le32(reply, 4), 2500);
    const auto block = host.ReadAll();
    EXPECT_EQ(block, host.Machine().Parameters().Block());
    EXPECT_TRUE(host.Read(1024).empty());
}

TEST(SimMachineTest, ParameterPutReplacesOnlyAWholeWellFormedBlock) {
    SimHost host;
    SimParameters edited("ZZZ9876");
    edited.SetY0(-120);
    const auto original = host.Machine().Parameters().Block();

    // Whole and well formed, in uneven pieces.
    ASSERT_EQ(host.Direct(105, 0x40, {1, 0})[0], 0);
    const auto& bytes = edited.Block();
    host.Write({bytes.begin(), bytes.begin() + 1000});
    host.Write({bytes.begin() + 1000, bytes.end()});
    EXPECT_EQ(host.Machine().Parameters().Block(), bytes);
    EXPECT_EQ(host.Machine().Parameters().Serial(), "ZZZ9876");
    EXPECT_EQ(host.Status() & kFailed, 0);

    // A corrupted byte: rejected.
    auto corrupt = original;
    corrupt[100] ^= 0x01;
    ASSERT_EQ(host.Direct(105, 0x40, {1, 0})[0], 0);
    host.Write(corrupt);
    EXPECT_EQ(host.Machine().Parameters().Block(), bytes);
    EXPECT_EQ(host.Status() & kFailed, kFailed);

    // Cut short, then another command: abandoned.
    ASSERT_EQ(host.Direct(105, 0x40, {1, 0})[0], 0);
    host.Write({original.begin(), original.begin() + 2000});
    ASSERT_EQ(host.Extended(116, 0x00, 0)[0], 0);
    EXPECT_EQ(host.Machine().Parameters().Block(), bytes);
}

// A put is the bulk writes between its announcement and the next command:
// exactly one well-formed block replaces the settings; anything longer is
// refused whole, and none of its bytes run as instructions.
TEST(SimMachineTest, ParameterPutLongerThanTheBlockIsRefusedWholeAndMovesNothing) {
    SimParameters edited("ZZZ9876");
    const auto& block = edited.Block();
    const std::string move = ";^PU30000,20000;";
    auto withMove = [&] {
        std::vector<std::uint8_t> bytes = block;
        bytes.insert(bytes.end(), move.begin(), move.end());
        return bytes;
    };
    auto fileOf = [&](std::size_t length) {
        std::vector<std::uint8_t> bytes = block;
        while (bytes.size() < length) bytes.insert(bytes.end(), move.begin(), move.end());
        return bytes;
    };
    auto pieces = [](const std::vector<std::uint8_t>& bytes, std::size_t piece) {
        std::vector<std::vector<std::uint8_t>> writes;
        for (std::size_t at = 0; at < bytes.size(); at += piece) {
            const auto end =
                bytes.begin() + static_cast<std::ptrdiff_t>(std::min(bytes.size(), at + piece));
            writes.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(at), end);
        }
        return writes;
    };
    struct Case {
        const char* what;
        std::vector<std::vector<std::uint8_t>> writes;
        bool replaced;
    };
    const Case cases[] = {
        {"exactly the block", pieces(block, 1024), true},
        {"an instruction in the block's last write", {withMove()}, false},
        {"an instruction in a write after the block", {block, {move.begin(), move.end()}}, false},
        {"a longer file in pieces of 1024", pieces(fileOf(3600), 1024), false},
    };
    for (const Case& c : cases) {
        SimHost host;
        const auto original = host.Machine().Parameters().Block();
        ASSERT_EQ(host.Direct(105, 0x40, {1, 0})[0], 0);
        for (const auto& write : c.writes) host.Write(write);
        EXPECT_EQ(host.Status(), c.replaced ? kSimStateReady : kSimStateReady | kFailed) << c.what;
        EXPECT_EQ(host.Machine().Parameters().Block(), c.replaced ? block : original) << c.what;
        EXPECT_EQ(host.Machine().TargetPosition(), (SimPosition{0, 0, 0, 0})) << c.what;
        // Once the put has ended, the same text is an instruction again.
        host.Write({move.begin(), move.end()});
        EXPECT_EQ(host.Machine().TargetPosition(), (SimPosition{30000, 20000, 0, 0})) << c.what;
    }
}

TEST(SimMachineTest, ReportIsSeveralKilobytesOfStateEndedByNul) {
    SimHost host;
    host.Machine().WriteSerial("ABC1234");
    ASSERT_EQ(host.Direct(102, 0x01, {0})[0], 0);
    const auto report = host.ReadAll();
    ASSERT_GT(report.size(), 4000u);
    EXPECT_EQ(report.back(), 0);
    EXPECT_EQ(std::count(report.begin(), report.end(), 0), 1);
    const std::string text(report.begin(), report.end() - 1);
    for (const char* field : {"ABC1234", "QMV-240 V1.52 PNL-J", "Spindle time    : 1235:23",
                              "Scale X         : 100.000 %", "END OF REPORT"}) {
        EXPECT_NE(text.find(field), std::string::npos) << field;
    }
    host.controller.Faults().reportWithoutNul = true;
    ASSERT_EQ(host.Direct(102, 0x01, {0})[0], 0);
    EXPECT_NE(host.ReadAll().back(), 0);
}

TEST(SimMachineTest, BulkReadFaultsGiveEmptyAndShortPieces) {
    SimHost host;
    host.controller.Faults().emptyReadsBeforePiece = 2;
    host.controller.Faults().maxReadPiece = 100;
    ASSERT_EQ(host.Direct(105, 0x40, {0, 0})[0], 0);
    EXPECT_TRUE(host.Read(1024).empty());
    EXPECT_TRUE(host.Read(1024).empty());
    EXPECT_EQ(host.Read(1024).size(), 100u);
    host.controller.Faults().failNextRead = true;
    std::uint8_t buffer[16];
    std::uint32_t done = 0;
    EXPECT_FALSE(host.controller.BulkRead(buffer, 16, done));
}

TEST(SimMachineTest, TestCutInstructionsMoveTheMachine) {
    SimHost host;
    const std::string cut =
        ";;^IN;!MC0;^PA;^PU;^VS20;!VZ8;!MC1;!PZ0,3000;^PU0,0;!PZ-3,50;^PU;^PU0,0;^PD0,19000;"
        "^PD23000,19000;^PD23000,0;^PD0,0;^PU;!MC0;!PZ0,3000;^PU;";
    host.Write({cut.begin(), cut.end()});
    EXPECT_TRUE(host.Machine().SpindleOn() || (host.Status() & kBusy) != 0);
    host.Wait(10000);  // 190 mm at 20 mm/s
    EXPECT_EQ(ReadPosition(host)[1], 19000);
    EXPECT_EQ(WaitWhileBusy(host), kSimStateReady);
    EXPECT_EQ(ReadPosition(host), (SimPosition{0, 0, 0, 0}));
    EXPECT_FALSE(host.Machine().SpindleOn());
}

// The instruction stream is cut at ';' whatever the pieces it arrives in; line
// ends are dropped, and an instruction longer than the limit is dropped whole.
TEST(SimInstructionReaderTest, CutsTheStreamIntoInstructions) {
    const std::string longest(SimInstructionReader::kMaxInstruction, 'A');
    std::string longestOverLines;
    for (char c : longest) longestOverLines += std::string(1, c) + "\r\n";
    struct Case {
        const char* what;
        std::vector<std::string> pieces;
        std::vector<std::string> instructions;
    };
    const Case cases[] = {
        {"two in one piece", {"^PU1,2;!MC0;"}, {"^PU1,2", "!MC0"}},
        {"one over three pieces", {"^P", "U1", ",2;"}, {"^PU1,2"}},
        {"line ends dropped", {"^PU\r\n1,\n2;"}, {"^PU1,2"}},
        {"empty ones skipped", {";;\r\n;"}, {}},
        {"no ';' yet", {"^PU1,2"}, {}},
        {"as long as allowed", {longest + "\r\n;"}, {longest}},
        {"line ends not counted", {longestOverLines + ";"}, {longest}},
        {"one longer dropped", {longest + "B;^IN;"}, {"^IN"}},
        {"one longer over pieces", {longest, "B", ";^IN;"}, {"^IN"}},
    };
    for (const Case& c : cases) {
        SimInstructionReader reader;
        std::vector<std::string> seen;
        for (const std::string& piece : c.pieces) {
            reader.Feed(reinterpret_cast<const std::uint8_t*>(piece.data()),
                        static_cast<std::uint32_t>(piece.size()),
                        [&seen](std::string_view text) { seen.emplace_back(text); });
        }
        EXPECT_EQ(seen, c.instructions) << c.what;
    }
}

TEST(SimMachineTest, PlungeDepthOfAnySizeStaysWithinTheZTravel) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"!PZ3", -300},
        {"!PZ-30", -3000},
        {"!PZ30000000", kSimTravel[kSimAxisZ].min},
        {"!PZ-2147483648", kSimTravel[kSimAxisZ].min},
    };
    for (const auto& [depth, z] : cases) {
        SimHost host;
        const std::string cut = std::string(depth) + ";^PD100,100;";
        host.Write({cut.begin(), cut.end()});
        EXPECT_EQ(host.Machine().TargetPosition(), (SimPosition{100, 100, z, 0})) << depth;
    }
}

TEST(SimMachineTest, FirmwareIsTakenOnlyInUpdateMode) {
    SimHost host;
    // The image names its version in its first line.
    const std::string version = "QMV-240 V1.60 PNL-J";
    const std::string line = "version=" + version + "\r\n";
    std::vector<std::uint8_t> image(line.begin(), line.end());
    image.resize(70000, 0x5A);
    host.controller.ReceivePrintJob(image);
    EXPECT_EQ(host.Machine().FirmwareUpdates(), 0);

    ASSERT_EQ(host.Direct(100, 0x01, {1})[0], 0);
    EXPECT_EQ(host.Status(), kSimStatusUpdateMode);
    EXPECT_EQ(host.Exchange(MoveRequest(0, 0, 0, 0))[0], kSimNotReady);
    host.controller.ReceivePrintJob(image);
    EXPECT_EQ(host.Machine().Firmware(), image);
    EXPECT_EQ(host.Machine().Version(), version);
    EXPECT_EQ(host.Status(), kSimStateReady);
}

// The console's measurement: approach the angle, overshoot to one side and
// come back, and take the encoder's difference.
int MeasureLostMotion(SimHost& host, std::int32_t target, std::int32_t offset) {
    auto moveA = [&host](std::int32_t a) {
        EXPECT_EQ(host.Exchange(MoveRequest(0, 23000, 0, a))[0], 0);
        WaitWhileBusy(host);
    };
    auto dial = [&host] { return Le32(host.Direct(18, 0x40, {0, 0}), 4); };
    moveA(target);
    const int c1 = dial();
    moveA(target + offset);
    moveA(target);
    return dial() - c1;
}

TEST(SimMachineTest, RotaryLostMotionPeaksAwayFromZeroWithinATenthOfADegree) {
    SimHost host;
    int largest = 0;
    int largestAt = -1;
    for (int i = 0; i < 40; ++i) {
        const int plus = MeasureLostMotion(host, 9000 * i, 5000);
        const int minus = MeasureLostMotion(host, 9000 * i, -5000);
        EXPECT_GT(plus, 0);
        EXPECT_LT(minus, 0);
        for (int m : {plus, minus}) {
            if (std::abs(m) > std::abs(largest)) {
                largest = m;
                largestAt = 9 * i;
            }
        }
    }
    const double degrees = std::abs(largest) * 0.018;
    EXPECT_GE(degrees, 0.05);
    EXPECT_LE(degrees, 0.1);
    EXPECT_NE(largestAt, 0);
    EXPECT_NEAR(largestAt, 207, 45);
}

}  // namespace
}  // namespace hw::test
