// One link driven from two threads at once, as the console and a measuring
// worker drive it: every command still gets its own reply.
#include <gtest/gtest.h>

#include <cstdint>
#include <thread>

#include "commands/MachineLink.h"
#include "sim/pc/SimEnvironment.h"

namespace hw {
namespace {

TEST(ConcurrentLink, TwoThreadsNeverMixTheirCommands) {
    TestClock clock{1};
    SimEnvironment env{clock};
    MachineLink link(env.Platform());
    ASSERT_TRUE(link.Connect(kSimQueueName, 0, 32, false));
    constexpr int kRounds = 3000;
    int badPositions = 0;
    std::thread worker([&] {
        for (int i = 0; i < kRounds; ++i) {
            std::int32_t position[4] = {};
            if (link.GetPosition(position, 4) != 4) ++badPositions;
        }
    });
    int badStatus = 0;
    int badSensors = 0;
    for (int i = 0; i < kRounds; ++i) {
        if (link.GetStatusWord() != kStatusReadyAtOrigin) ++badStatus;
        std::uint8_t sensors[13] = {};
        if (link.GetSensorBytes(sensors, 13) != 13) ++badSensors;
        if (i % 100 == 0 && !link.CheckConnection()) ++badStatus;
    }
    worker.join();
    EXPECT_EQ(badPositions, 0);
    EXPECT_EQ(badStatus, 0);
    EXPECT_EQ(badSensors, 0);
}

}  // namespace
}  // namespace hw
