#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
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

// The machine is unplugged while a transaction runs, and a device-change
// check meanwhile finds it gone and cannot re-open it: the channel's handle
// becomes invalid, and the transaction ends at its next handle check
// without another poll.
TEST_F(Transact, DeviceGoneWhilePollingEndsWithFalse) {
    struct Case {
        const char* during;
        std::size_t control;  // 1 trigger, 2 first poll
        std::size_t polls;
    };
    for (const Case c : {Case{"trigger", 1, 0}, Case{"first poll", 2, 1}}) {
        ASSERT_TRUE(link.Connect(kQueue, 0, 32, false)) << c.during;
        fake.device.deviceIdFails = false;
        fake.device.controls.clear();
        fake.device.standingReply[0] = 9;  // pending for ever
        fake.device.DuringControl(c.control, [this] {
            const auto paths = fake.device.openablePaths;
            fake.device.deviceIdFails = true;
            fake.device.openablePaths.clear();
            EXPECT_FALSE(link.CheckConnection());
            fake.device.openablePaths = paths;
        });
        EXPECT_FALSE(link.SendCommand(9)) << c.during;
        EXPECT_FALSE(link.Channel().IsHandleValid()) << c.during;
        EXPECT_EQ(fake.device.VendorGetCount(), c.polls) << c.during;
    }
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

// Building, sending and reading a request allocates nothing, whatever the
// builder or reader. The queue name is longer than any string's small buffer,
// so that a lock name built per transaction would show as an allocation.
TEST(TransactAllocations, NoHeapAllocationPerTransactionOfAnyKind) {
    const std::string queue = "Engraving room 2 - QMV-240 left, bench 4";
    ASSERT_EQ(queue.size(), 40u);
    FakePlatform fake;
    fake.InstallMachine(queue, "USB001", "A1B2C3");
    TestLink link(fake.platform);
    ASSERT_TRUE(link.Connect(queue, 0, 32, false));
    fake.device.recordCalls = false;
    fake.locks.recordCalls = false;
    fake.device.standingReply[1] = 2;  // every reply: done, two items

    const std::uint8_t bytes[4] = {1, 2, 3, 4};
    const std::uint16_t words[2] = {0x1234, 0x5678};
    const std::uint32_t dwords[2] = {100250, 100000};
    const float floats[2] = {1.5f, 2.5f};
    std::uint8_t byteOut[4] = {};
    std::uint16_t wordOut[2] = {};
    std::uint32_t dwordOut[2] = {};
    const std::vector<std::pair<std::string, std::function<bool()>>> kinds = {
        {"bytes", [&] { return link.SendBytes(8, bytes, 4); }},
        {"value and bytes", [&] { return link.SendValueAndBytes(20, 254, bytes, 4); }},
        {"words", [&] { return link.SendWords(5, words, 2); }},
        {"dwords", [&] { return link.SendDwords(99, 1, dwords, 2); }},
        {"floats", [&] { return link.SendFloats(50, 1, floats, 2); }},
        {"extended bytes", [&] { return link.SendExtendedBytes(114, 1, bytes, 4); }},
        {"extended words", [&] { return link.SendExtendedWords(113, 1, words, 2); }},
        {"extended dwords", [&] { return link.SendExtendedDwords(131, 0, dwords, 2); }},
        {"query bytes", [&] { return link.QueryBytes(17, byteOut, 4) == 2; }},
        {"query words", [&] { return link.QueryWords(1, wordOut, 2) == 2; }},
        {"query dwords", [&] { return link.QueryDwords(3, 0, dwordOut, 2) == 2; }},
        {"query extended words", [&] { return link.QueryExtendedWords(51, 0, wordOut, 2) == 2; }},
        {"query extended dwords",
         [&] { return link.QueryExtendedDwords(59, 0, dwordOut, 2) == 2; }},
    };
    for (const auto& [name, run] : kinds) {
        StartCountingAllocations();
        const bool done = run();
        EXPECT_EQ(StopCountingAllocations(), 0) << name;
        EXPECT_TRUE(done) << name;
    }
}

}  // namespace
}  // namespace hw::test
