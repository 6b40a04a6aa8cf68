#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "AllocationCounter.h"
#include "fakes/TestLink.h"

namespace hw::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Padded(Bytes head, std::size_t size) {
    head.resize(size, 0);
    return head;
}

class Transact : public ConnectedLinkTest<TestLink> {};

TEST_F(Transact, CancelCommandExample) {
    fake.device.replies = {Reply({8}), Reply({8}), Reply({0, 0})};
    EXPECT_TRUE(link.SendByteCommand(8, 2));
    const auto sets = VendorSets();
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_EQ(sets[0], Padded({0xF0, 0, 0, 0x00, 0x01, 0x02}, 35));
    EXPECT_EQ(sets[1], (Bytes{0xF0, 0, 0, 0x08}));
    ASSERT_EQ(fake.device.VendorGetCount(), 3u);
    for (const auto& call : fake.device.controls) {
        if (call.code != kIoctlVendorGetCommand) continue;
        EXPECT_EQ(call.input, (Bytes{0xF0, 0, 0}));
        EXPECT_EQ(call.outLength, 32u);
    }
}

TEST_F(Transact, ScaleCorrectionExample) {
    const std::uint32_t values[2] = {100250, 100000};
    EXPECT_TRUE(link.SendDwords(99, 1, values, 2));
    const auto sets = VendorSets();
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_EQ(sets[0], Padded({0xF0, 0, 0, 0x00, 0x42, 0x01, 0x00, 0x9A, 0x87, 0x01, 0x00, 0xA0,
                               0x86, 0x01, 0x00},
                              35));
    EXPECT_EQ(sets[1], (Bytes{0xF0, 0, 0, 0x63}));
}

TEST_F(Transact, ExtendedRequestIsPendingWhileRepliesStartWith0x38) {
    fake.device.replies = {Reply({0x38}), Reply({0x38, 0}), Reply({0x00})};
    EXPECT_TRUE(link.SendExtended(50, 1));
    const auto sets = VendorSets();
    EXPECT_EQ(sets[0], Padded({0xF0, 0, 0, 0x00, 0x00, 0x32, 0x01}, 35));
    EXPECT_EQ(sets[1], (Bytes{0xF0, 0, 0, 0x38}));
    EXPECT_EQ(fake.device.VendorGetCount(), 3u);
}

TEST_F(Transact, ReplyStatusDecidesTheOutcome) {
    struct Case {
        Bytes reply;
        bool result;
    };
    for (const Case& c :
         {Case{{0}, true}, Case{{1}, false}, Case{{0xFF}, false}, Case{{0x38}, false}}) {
        fake.device.replies = {Reply({9}), c.reply};
        EXPECT_EQ(link.SendCommand(9), c.result) << int(c.reply[0]);
    }
}

TEST_F(Transact, BytesBehindTheItemsAreZeroEvenAfterALongReply) {
    Bytes noisy(32, 0xAA);
    noisy[0] = 0;
    fake.device.replies = {noisy};
    ASSERT_TRUE(link.SendCommand(9));
    ASSERT_TRUE(link.SendCommand(9));
    EXPECT_EQ(LastPayload(), Padded({0, 0x01, 0x00}, 32));
}

TEST_F(Transact, CommandZeroNeverCompletesAndTimesOut) {
    fake.system.step = 1000;
    EXPECT_FALSE(link.SendCommand(0));
    // Start, then readings at 1000 ms steps up to the first one past 10000 ms.
    EXPECT_EQ(fake.device.VendorGetCount(), 10u);
}

TEST_F(Transact, TimeOutSurvivesTickCounterWrap) {
    fake.device.standingReply[0] = 9;  // pending for ever
    fake.system.now = 0xFFFFFF00u;
    fake.system.step = 100;
    EXPECT_FALSE(link.SendCommand(9));
    // Readings at start + 100 .. start + 10000 are polled; start + 10100 is too late.
    EXPECT_EQ(fake.device.VendorGetCount(), 100u);
}

TEST(TransactTimeOut, IsTimedOutOnlyPastTenSeconds) {
    FakePlatform fake;
    TestLink link(fake.platform);
    EXPECT_FALSE(link.IsTimedOut(0));
    EXPECT_FALSE(link.IsTimedOut(10000));
    EXPECT_TRUE(link.IsTimedOut(10001));
    EXPECT_TRUE(link.IsTimedOut(0xFFFFFFFFu));
}

TEST_F(Transact, LockNotObtainedMeansNoTrafficAndTheLockIsReleased) {
    for (auto outcome : {WaitOutcome::TimedOut, WaitOutcome::Abandoned, WaitOutcome::Failed}) {
        fake.locks.outcome = outcome;
        fake.device.controls.clear();
        EXPECT_FALSE(link.SendCommand(9));
        EXPECT_TRUE(fake.device.controls.empty());
        EXPECT_EQ(fake.locks.open, 0);
    }
    EXPECT_EQ(fake.locks.releases, 3);
    EXPECT_EQ(fake.locks.waits, (std::vector<std::uint32_t>{10000, 10000, 10000}));
}

TEST_F(Transact, MutexIsNamedAfterTheQueueAndClosedAfterEachTransaction) {
    ASSERT_TRUE(link.SendCommand(9));
    ASSERT_TRUE(link.SendCommand(9));
    EXPECT_EQ(fake.locks.created, (std::vector<std::string>{"Global\\QMV-240", "Global\\QMV-240"}));
    EXPECT_EQ(fake.locks.closes, 2);
    EXPECT_EQ(fake.locks.open, 0);
}

TEST_F(Transact, MutexThatCannotBeCreatedMeansNoTraffic) {
    fake.locks.createFails = true;
    EXPECT_FALSE(link.SendCommand(9));
    EXPECT_TRUE(fake.device.controls.empty());
}

TEST_F(Transact, AfterDisconnectNothingIsLockedOrSent) {
    ASSERT_TRUE(link.Disconnect());
    EXPECT_FALSE(link.SendCommand(9));
    const std::uint32_t v = 1;
    EXPECT_FALSE(link.SendDwords(99, 0, &v, 1));
    EXPECT_TRUE(fake.locks.created.empty());
    EXPECT_TRUE(fake.device.controls.empty());
}

TEST_F(Transact, EachFailingDeviceStepEndsTheTransaction) {
    // Controls: 0 data phase, 1 trigger, 2 first poll.
    for (std::size_t failing : {0u, 1u, 2u}) {
        fake.device.controls.clear();
        fake.device.FailControlAfter(failing);
        fake.device.replies = {Reply({0})};
        EXPECT_FALSE(link.SendCommand(9)) << failing;
        EXPECT_EQ(fake.device.controls.size(), failing + 1) << failing;
        fake.device.replies.clear();
    }
}

TEST_F(Transact, DeviceGoneWhilePollingEndsWithFalse) {
    fake.device.standingReply[0] = 9;
    fake.device.invalidateAtPoll = 0;
    EXPECT_FALSE(link.SendCommand(9));
    EXPECT_EQ(fake.device.VendorGetCount(), 2u);
}

TEST(TransactUnopened, RecordedChannelTakesTheMutexAndFailsAtTheDataPhase) {
    FakePlatform fake;
    const auto path = fake.InstallMachine(kQueue, "USB001", "A1B2C3");
    fake.device.openablePaths.clear();
    TestLink link(fake.platform);
    EXPECT_FALSE(link.Connect(kQueue, 0, 32, false));
    EXPECT_EQ(link.Channel().PrinterName(), kQueue);
    EXPECT_EQ(link.Channel().DevicePath(), path);
    EXPECT_FALSE(link.SendCommand(9));
    EXPECT_EQ(fake.locks.created.size(), 1u);
    EXPECT_EQ(fake.device.VendorSetCount(), 1u);
    EXPECT_EQ(fake.locks.open, 0);
}

TEST_F(Transact, NoHeapAllocationPerTransaction) {
    fake.device.recordCalls = false;
    fake.locks.recordCalls = false;
    const std::uint32_t values[2] = {100250, 100000};
    std::uint16_t word = 0;
    StartCountingAllocations();
    for (int i = 0; i < 100; ++i) {
        link.SendDwords(99, 1, values, 2);
        link.QueryWords(1, &word, 1);
        link.SendExtended(114, 1);
    }
    EXPECT_EQ(StopCountingAllocations(), 0);
}

}  // namespace
}  // namespace hw::test
