// The simulated PC around the machine: device files and the cable, the
// spooler and its jobs, the registry, the named locks and the clock.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "link/DeviceChannel.h"
#include "sim/pc/SimEnvironment.h"

namespace hw::test {
namespace {

class SimWindowsTest : public ::testing::Test {
  protected:
    TestClock clock{1};
    SimEnvironment env{clock};

    bool Query(OsHandle handle) {
        std::uint8_t id[4094];
        std::uint32_t returned = 0;
        return env.Files().Control(handle, kIoctlQueryDeviceId, nullptr, 0, id, sizeof id,
                                   returned);
    }
};

TEST_F(SimWindowsTest, DevicePathOpensTheMachineOnceAtATime) {
    std::string upper = env.DevicePath();
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const OsHandle first = env.Files().Open(upper, kFileAttributeNormal);
    ASSERT_NE(first, kInvalidHandle);
    EXPECT_TRUE(Query(first));
    EXPECT_EQ(env.Files().Open(env.DevicePath(), kFileAttributeNormal), kInvalidHandle);
    EXPECT_EQ(env.Files().Open(env.DevicePath() + "x", kFileAttributeNormal), kInvalidHandle);
    EXPECT_TRUE(env.Files().Close(first));
    EXPECT_FALSE(env.Files().Close(first));
    const OsHandle again = env.Files().Open(env.DevicePath(), kFileAttributeNormal);
    EXPECT_NE(again, kInvalidHandle);
    std::uint32_t returned = 0;
    EXPECT_FALSE(env.Files().Control(again, 0x00220000, nullptr, 0, nullptr, 0, returned));
}

TEST_F(SimWindowsTest, UnplugStalesHandlesUntilReopenedAfterPlugIn) {
    const OsHandle handle = env.Files().Open(env.DevicePath(), kFileAttributeNormal);
    env.Unplug();
    EXPECT_FALSE(Query(handle));
    std::uint8_t byte = 0;
    std::uint32_t done = 0;
    EXPECT_FALSE(env.Files().Read(handle, &byte, 1, done));
    EXPECT_FALSE(env.Files().Write(handle, &byte, 1, done));
    EXPECT_EQ(env.Files().Open(env.DevicePath(), kFileAttributeNormal), kInvalidHandle);
    env.PlugIn();
    EXPECT_FALSE(Query(handle));  // the old handle stays dead
    const OsHandle fresh = env.Files().Open(env.DevicePath(), kFileAttributeNormal);
    ASSERT_NE(fresh, kInvalidHandle);
    EXPECT_TRUE(Query(fresh));
    EXPECT_TRUE(env.Files().Close(handle));
    EXPECT_EQ(env.Files().OpenHandles(), 1u);
}

TEST_F(SimWindowsTest, UnplugOnTriggerLetsTheTriggerThroughAndFailsThePolls) {
    const OsHandle handle = env.Files().Open(env.DevicePath(), kFileAttributeNormal);
    env.Faults().unplugAt = SimUnplugAt::AfterTrigger;
    std::uint8_t block[35] = {0xF0, 0, 0, 0, 0x20};
    std::uint32_t returned = 0;
    ASSERT_TRUE(
        env.Files().Control(handle, kIoctlVendorSetCommand, block, 35, nullptr, 0, returned));
    const std::uint8_t trigger[4] = {0xF0, 0, 0, 1};
    EXPECT_TRUE(
        env.Files().Control(handle, kIoctlVendorSetCommand, trigger, 4, nullptr, 0, returned));
    EXPECT_FALSE(env.Plugged());
    EXPECT_FALSE(
        env.Files().Control(handle, kIoctlVendorGetCommand, block, 3, block + 3, 32, returned));
}

TEST_F(SimWindowsTest, SpoolerListsBothPrintersAndRecordsTheirDrivers) {
    std::vector<PrinterRecord> records;
    ASSERT_EQ(env.Spooler().EnumLocalPrinters(records), EnumOutcome::Listed);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].driverName, kSimOtherDriver);
    EXPECT_EQ(records[1].printerName, "QMV-240");
    EXPECT_EQ(records[1].driverName, "Varnel QMV-240");
    EXPECT_EQ(records[1].portName, "USB001");
    EXPECT_EQ(env.Spooler().OpenPrinter("No Such Printer"), kNullHandle);
}

void Print(Spooler& spooler, const char* printer, const std::string& text) {
    const OsHandle handle = spooler.OpenPrinter(printer);
    ASSERT_NE(handle, kNullHandle);
    spooler.StartRawDocument(handle, "Updater");
    spooler.StartPage(handle);
    std::uint32_t written = 0;
    EXPECT_TRUE(spooler.WritePrinter(handle, text.data(), static_cast<std::uint32_t>(text.size()),
                                     written));
    EXPECT_EQ(written, text.size());
    spooler.EndPage(handle);
    EXPECT_TRUE(spooler.EndDocument(handle));
    spooler.ClosePrinter(handle);
}

TEST_F(SimWindowsTest, RawJobsReachTheMachineOnlyThroughItsQueue) {
    env.Machine().EnterUpdateMode();
    Print(env.Spooler(), kSimOtherPrinter, "letter");
    EXPECT_EQ(env.Machine().FirmwareUpdates(), 0);
    ASSERT_EQ(env.Spooler().OtherJobs().size(), 1u);
    EXPECT_EQ(env.Spooler().OtherJobs()[0].dataType, "RAW");

    // A job spooled while the cable is out is printed when it comes back.
    env.Unplug();
    Print(env.Spooler(), kSimQueueName, "firmware image");
    EXPECT_EQ(env.Machine().FirmwareUpdates(), 0);
    env.PlugIn();
    EXPECT_EQ(env.Machine().FirmwareUpdates(), 1);
    const std::string taken(env.Machine().Firmware().begin(), env.Machine().Firmware().end());
    EXPECT_EQ(taken, "firmware image");
    EXPECT_EQ(env.Spooler().MachineJobs()[0].documentName, "Updater");
    EXPECT_EQ(env.Spooler().OpenPrinters(), 0u);
}

TEST_F(SimWindowsTest, RegistryLooksUpWithoutRegardToCase) {
    OsHandle key = 0;
    ASSERT_TRUE(
        env.Registry().OpenKey(kLocalMachineKey, "system\\currentcontrolset\\enum\\usbprint", key));
    std::string name;
    ASSERT_EQ(env.Registry().EnumSubkey(key, 0, name), EnumKeyOutcome::Found);
    EXPECT_EQ(name, "LabelWriter");
    ASSERT_EQ(env.Registry().EnumSubkey(key, 1, name), EnumKeyOutcome::Found);
    EXPECT_EQ(env.Registry().EnumSubkey(key, 2, name), EnumKeyOutcome::NoMoreItems);
    OsHandle node = 0;
    ASSERT_TRUE(env.Registry().OpenKey(key, name, node));
    ASSERT_EQ(env.Registry().EnumSubkey(node, 0, name), EnumKeyOutcome::Found);
    OsHandle instance = 0;
    ASSERT_TRUE(env.Registry().OpenKey(node, name, instance));
    std::string value;
    EXPECT_TRUE(env.Registry().QueryValue(instance, "DEVICEDESC", value));
    EXPECT_EQ(value, "Varnel QMV-240");
    EXPECT_FALSE(env.Registry().QueryValue(instance, "Missing", value));
    for (OsHandle k : {key, node, instance}) env.Registry().CloseKey(k);
    EXPECT_EQ(env.Registry().OpenKeys(), 0u);
    EXPECT_EQ(env.Registry().EnumSubkey(key, 0, name), EnumKeyOutcome::Failed);
}

TEST_F(SimWindowsTest, NamedLocksAreSharedByNameReentrantAndExclusive) {
    SimLocks& locks = env.Locks();
    bool denied = false;
    const OsHandle a = locks.Create("Global\\QMV-240", denied);
    const OsHandle b = locks.Create("Global\\QMV-240", denied);
    const OsHandle other = locks.Create("Global\\Office Laser", denied);
    ASSERT_NE(a, kNullHandle);
    ASSERT_NE(b, a);
    EXPECT_EQ(locks.Wait(a, 0), WaitOutcome::Acquired);
    EXPECT_EQ(locks.Wait(b, 0), WaitOutcome::Acquired);  // same thread: re-entrant
    auto elsewhere = [&locks](OsHandle h) {
        return std::async(std::launch::async,
                          [&locks, h] {
                              const WaitOutcome outcome = locks.Wait(h, 20);
                              if (outcome == WaitOutcome::Acquired) locks.Release(h);
                              return outcome;
                          })
            .get();
    };
    EXPECT_EQ(elsewhere(b), WaitOutcome::TimedOut);
    EXPECT_EQ(elsewhere(other), WaitOutcome::Acquired);
    locks.Release(a);
    EXPECT_EQ(elsewhere(b), WaitOutcome::TimedOut);  // still held once
    locks.Release(b);
    EXPECT_EQ(elsewhere(b), WaitOutcome::Acquired);
    for (OsHandle h : {a, b, other}) locks.Close(h);
    EXPECT_EQ(locks.OpenHandles(), 0u);
    EXPECT_EQ(locks.Wait(a, 0), WaitOutcome::Failed);
}

// Lock waits run on the simulator's clock: against a holder that keeps the
// lock, the waiter gives up once its time-out has passed on the clock, at
// once in real time; a release lets a waiting thread in.
TEST_F(SimWindowsTest, LockWaitsTimeOutOnTheSimClockAndEndOnRelease) {
    SimLocks& locks = env.Locks();
    bool denied = false;
    const OsHandle held = locks.Create("Global\\QMV-240", denied);
    const OsHandle waited = locks.Create("Global\\QMV-240", denied);
    ASSERT_EQ(locks.Wait(held, 0), WaitOutcome::Acquired);
    auto waitElsewhere = [&](std::uint32_t timeoutMs) {
        return std::async(std::launch::async,
                          [&locks, waited, timeoutMs] { return locks.Wait(waited, timeoutMs); });
    };
    constexpr auto kPatience = std::chrono::seconds(20);

    const std::uint64_t start = clock.Peek();
    auto timedOut = waitElsewhere(10000);
    ASSERT_EQ(timedOut.wait_for(kPatience), std::future_status::ready);
    EXPECT_EQ(timedOut.get(), WaitOutcome::TimedOut);
    EXPECT_GE(clock.Peek() - start, 10000u);
    EXPECT_LT(clock.Peek() - start, 11000u);

    const std::uint64_t before = clock.Peek();
    auto released = waitElsewhere(0xFFFFFFFFu);
    while (clock.Peek() < before + 2 * SimLocks::kWaitSliceMs) std::this_thread::yield();
    locks.Release(held);
    ASSERT_EQ(released.wait_for(kPatience), std::future_status::ready);
    EXPECT_EQ(released.get(), WaitOutcome::Acquired);
    for (OsHandle h : {held, waited}) locks.Close(h);
}

TEST_F(SimWindowsTest, TickCountRunsOnTheSimClockAndWraps) {
    env.System().tickBase = 0xFFFFFFF0u;
    const std::uint32_t before = env.System().TickCount();
    env.System().Sleep(100);
    const std::uint32_t after = env.System().TickCount();
    EXPECT_LT(after, before);         // wrapped
    EXPECT_EQ(after - before, 101u);  // 100 slept + one step per reading
}

TEST(SimRealTimeTest, MachineRunsOnTheSteadyClock) {
    RealClock clock;
    SimEnvironment env(clock);
    ASSERT_EQ(env.WithMachine([](SimMachine& m) { return m.StartAging(); }), kSimDone);
    const SimPosition start = env.WithMachine([](SimMachine& m) { return m.Position(); });
    env.System().Sleep(50);
    const SimPosition later = env.WithMachine([](SimMachine& m) {
        m.Update();
        return m.Position();
    });
    EXPECT_NE(later, start);
    EXPECT_GE(env.System().TickCount(), 50u);
}

}  // namespace
}  // namespace hw::test
