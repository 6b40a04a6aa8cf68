// The controller at the vendor-request level: framing, the pending marker,
// refusals of malformed requests, and the replies of the query commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "SimHost.h"

namespace hw::test {
namespace {

TEST(SimControllerTest, MalformedAndUnknownRequestsAreRefusedWithoutPending) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> payload;
    };
    const Case cases[] = {
        {"bit 7 of count/type", {1, 0xA0}},
        {"count past the payload", {2, 0x1F}},
        {"dwords past the payload", {3, 0x48, 1, 0}},
        {"extended floats", {0x38, 0x60, 51, 1}},
        {"extended words past the payload", {0x38, 0x3F, 51, 1}},
        {"unknown direct command", {77, 0x00}},
        {"unknown direct command equal to a refusal code", {0xE1, 0x00}},
        {"unknown extended command", {0x38, 0x00, 200, 0}},
        {"status asked as bytes", {1, 0x00}},
        {"move with no axes", {64, 0x40, 0x10, 0x0E}},
        {"scale with one item", {99, 0x41, 0, 0, 1, 0, 0, 0}},
        {"serial without its NUL", {98, 0x03, 'A', 'B', 'C'}},
        {"load check on axis 5", {0x38, 0x21, 113, 5, 60, 0}},
        {"load check above 100 %", {0x38, 0x21, 113, 1, 101, 0}},
        {"laser offset beyond 10 mm", {0x38, 0x42, 131, 0, 0xE9, 0x03, 0, 0, 0, 0, 0, 0}},
        {"command 0", {0, 0x00}},
    };
    for (const Case& c : cases) {
        SimHost host;
        const auto reply = host.Exchange(c.payload, 1000);
        EXPECT_NE(reply[0], 0) << c.what;
        EXPECT_NE(reply[0], c.payload[0]) << c.what << ": refusal reads as pending";
        EXPECT_LT(host.polls, 1000) << c.what;
    }
}

TEST(SimControllerTest, RejectsBlocksThatAreNoVendorRequest) {
    SimHost host;
    const std::uint8_t badCode[4] = {0xE0, 0, 0, 1};
    const std::uint8_t badValue[4] = {0xF0, 1, 0, 1};
    const std::uint8_t shortBlock[3] = {0xF0, 0, 0};
    std::vector<std::uint8_t> huge(4097, 0);
    huge[0] = 0xF0;
    EXPECT_FALSE(host.controller.VendorSet(badCode, 4));
    EXPECT_FALSE(host.controller.VendorSet(badValue, 4));
    EXPECT_FALSE(host.controller.VendorSet(shortBlock, 3));
    EXPECT_FALSE(host.controller.VendorSet(huge.data(), 4097));
    EXPECT_TRUE(host.controller.VendorSet(huge.data(), 4096));
}

// A trigger runs only the data phase sent for it: alone, or after a request
// that was refused or already run, it is refused and runs nothing.
TEST(SimControllerTest, TriggerWithoutItsOwnDataPhaseRunsNothing) {
    const std::uint8_t clearPump[4] = {0x38, 0x00, 135, 0};
    struct Case {
        const char* what;
        int refusals;
        bool refuseStarted;
        int earlierRequests;
        int expectedClears;
    };
    const Case cases[] = {
        {"no request yet", 0, false, 0, 0},
        {"after a refused request", 1, false, 1, 0},
        {"after a refused started command", 0, true, 1, 0},
        {"after a finished request", 0, false, 1, 1},
    };
    for (const Case& c : cases) {
        SimHost host;
        host.controller.Faults().refuseCommands = c.refusals;
        host.controller.Faults().refuseNextStartedCommand = c.refuseStarted;
        for (int i = 0; i < c.earlierRequests; ++i) {
            host.Exchange({std::begin(clearPump), std::end(clearPump)});
        }
        const std::uint8_t trigger[4] = {0xF0, 0, 0, clearPump[0]};
        ASSERT_TRUE(host.controller.VendorSet(trigger, 4)) << c.what;
        std::uint8_t reply[32] = {};
        std::uint32_t returned = 0;
        host.clock.Advance(50);
        ASSERT_TRUE(host.controller.VendorGet(trigger, 3, reply, 32, returned)) << c.what;
        EXPECT_EQ(reply[0], kSimNoRequest) << c.what;
        const auto& events = host.Machine().Events();
        EXPECT_EQ(std::count_if(events.begin(), events.end(),
                                [](const std::string& e) {
                                    return e.find("pump time cleared") != std::string::npos;
                                }),
                  c.expectedClears)
            << c.what;
    }
}

TEST(SimControllerTest, PollWithoutRoomForAReplyWritesNothing) {
    SimHost host;
    const std::uint8_t trigger[4] = {0xF0, 0, 0, 1};
    ASSERT_TRUE(host.controller.VendorSet(trigger, 4));
    std::uint32_t returned = 7;
    // Pending, then done: neither may write through an empty output.
    EXPECT_TRUE(host.controller.VendorGet(trigger, 3, nullptr, 0, returned));
    EXPECT_EQ(returned, 0u);
    host.clock.Advance(5);
    EXPECT_TRUE(host.controller.VendorGet(trigger, 3, nullptr, 0, returned));
    EXPECT_EQ(returned, 0u);
}

TEST(SimControllerTest, ReplyStaysPendingWhileTheMachineStopsAnswering) {
    SimHost host;
    host.controller.Faults().stopAnswering = true;
    auto reply = host.Extended(51, 0x20, 1);
    EXPECT_EQ(reply[0], 0x38);  // still pending after every poll
    EXPECT_EQ(host.polls, 200000);
    host.controller.Faults().stopAnswering = false;
    EXPECT_EQ(host.Status(), kSimStateReady);
}

TEST(SimControllerTest, RefusesTheNextCommandsOnRequest) {
    SimHost host;
    host.controller.Faults().refuseCommands = 2;
    EXPECT_EQ(host.Direct(1, 0x20)[0], kSimRefused);
    EXPECT_EQ(host.Direct(2, 0x00)[0], kSimRefused);
    EXPECT_EQ(host.Direct(1, 0x20)[0], 0);
}

TEST(SimControllerTest, StorageCommandsArePendingForAWhile) {
    SimHost host;
    host.clock.SetStep(0);
    const auto reply = host.Extended(116, 0x00, 0, {});
    // The clock only moves by the polls' own readings: none, so the reply
    // could not be ready; the host gave up while it was pending.
    EXPECT_EQ(reply[0], 0x38);
    host.clock.Advance(25);
    std::vector<std::uint8_t> out(32);
    std::uint32_t returned = 0;
    const std::uint8_t header[3] = {0xF0, 0, 0};
    ASSERT_TRUE(host.controller.VendorGet(header, 3, out.data(), 32, returned));
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(host.Machine().SpindleMinutes(), 0u);
}

TEST(SimControllerTest, VersionCarriesItsNulAndFitsThePacket) {
    for (const std::string version : {"QMV-240 V1.52 PNL-J", "QMV-240 V1.40 PNL-S"}) {
        SimConfig config;
        config.version = version;
        SimHost host(config);
        const auto reply = host.Direct(2, 0x00);
        ASSERT_EQ(reply[0], 0);
        ASSERT_EQ(reply[1], version.size() + 1);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&reply[2])), version);
    }
}

TEST(SimControllerTest, StatusWordAtPowerOn) {
    SimConfig cold;
    cold.homedAtPowerOn = false;
    EXPECT_EQ(SimHost().Status(), kSimStateReady);
    EXPECT_EQ(SimHost(cold).Status(), 0);
}

TEST(SimControllerTest, SensorBytesFollowTheMachine) {
    SimHost host;
    auto sensors = host.Direct(17, 0x00);
    ASSERT_EQ(sensors[1], 13);
    // At the origin: the X, Y and Z limits and the A home sensor are on, the
    // pump switch is off (its bit set: active low), cover closed.
    EXPECT_EQ(sensors[2 + 0] & 0x38, 0x38);
    EXPECT_EQ(sensors[2 + 2] & 0x10, 0x10);
    EXPECT_EQ(sensors[2 + 4] & 0x02, 0x02);
    EXPECT_EQ(sensors[2 + 5] & 0x41, 0x00);
    host.Machine().SetCoverOpen(true);
    host.Machine().SetPumpSwitch(true);
    host.Machine().SetNoseTouching(true);
    sensors = host.Direct(17, 0x00);
    EXPECT_EQ(sensors[2 + 4] & 0x02, 0x00);
    EXPECT_EQ(sensors[2 + 5] & 0x41, 0x41);
}

TEST(SimControllerTest, PanelKeysComeHighByteFirst) {
    SimHost host;
    host.Machine().SetKeys(0x0480);  // -X and XY
    const auto reply = host.Direct(16, 0x00);
    ASSERT_EQ(reply[1], 2);
    EXPECT_EQ(reply[2], 0x04);
    EXPECT_EQ(reply[3], 0x80);
}

TEST(SimControllerTest, DialCounterCountsPanelDialSteps) {
    SimConfig config;
    config.encoderMounted = false;
    SimHost host(config);
    host.Machine().TurnDial(-3);
    const auto reply = host.Direct(18, 0x40, {0, 0});
    ASSERT_EQ(reply[1], 1);
    EXPECT_EQ(Le32(reply, 4), -3);
}

TEST(SimControllerTest, TemperatureWordReadsBackAsTheMachineTemperature) {
    for (double celsius : {-5.0, 0.0, 25.0, 31.0, 71.0}) {
        SimConfig config;
        config.temperatureC = celsius;
        SimHost host(config);
        const auto reply = host.Extended(51, 0x20, 1);
        ASSERT_EQ(reply[0], 0);
        const int v = (reply[4 + 8] | (reply[4 + 9] << 8)) & 0x7FFF;
        const int c = 142 + static_cast<int>(std::floor(-9054.0 * v / 65536.0));
        EXPECT_EQ(c, static_cast<int>(celsius));
    }
}

TEST(SimControllerTest, MeterReadsOnlyTheSelectedChannel) {
    SimHost host;
    EXPECT_EQ(host.Direct(50, 0x60, {0, 0})[0], kSimNotReady);
    ASSERT_EQ(host.Direct(103, 0x01, {0})[0], 0);
    const auto reply = host.Direct(50, 0x60, {0, 0});
    ASSERT_EQ(reply[0], 0);
    ASSERT_EQ(reply[1], 1);
    float amps = 0;
    std::memcpy(&amps, &reply[4], 4);
    EXPECT_NEAR(amps, 0.05, 0.02);
    EXPECT_EQ(host.Direct(50, 0x60, {1, 0})[0], kSimOutOfRange);
    ASSERT_EQ(host.Direct(103, 0x01, {0xFF})[0], 0);
    EXPECT_EQ(host.Direct(50, 0x60, {0, 0})[0], kSimNotReady);
}

TEST(SimControllerTest, OffsetsAndScaleAreStoredAndReadBack) {
    SimHost host;
    auto laser = Le32Bytes(-50);
    const auto y = Le32Bytes(80);
    laser.insert(laser.end(), y.begin(), y.end());
    std::vector<std::uint8_t> set{0x38, 0x42, 131, 0};
    set.insert(set.end(), laser.begin(), laser.end());
    ASSERT_EQ(host.Exchange(set)[0], 0);
    const auto read = host.Extended(59, 0x40, 0);
    EXPECT_EQ(Le32(read, 4), -50);
    EXPECT_EQ(Le32(read, 8), 80);
    // 100250 / 100000 on Y.
    ASSERT_EQ(host.Direct(99, 0x42, {1, 0, 0x9A, 0x87, 0x01, 0, 0xA0, 0x86, 0x01, 0})[0], 0);
    EXPECT_EQ(host.Machine().Parameters().Scale(1), 100250);
}

TEST(SimControllerTest, DeviceIdNamesTheMachine) {
    SimHost host;
    std::uint8_t id[4094] = {};
    std::uint32_t returned = 0;
    ASSERT_TRUE(host.controller.QueryDeviceId(id, sizeof id, returned));
    const std::string text(reinterpret_cast<const char*>(id + 2), returned - 2);
    EXPECT_EQ((id[0] << 8) | id[1], static_cast<int>(returned));
    EXPECT_NE(text.find("MDL:QMV-240;"), std::string::npos);
    EXPECT_NE(text.find("SN:QMV0117;"), std::string::npos);
}

}  // namespace
}  // namespace hw::test
