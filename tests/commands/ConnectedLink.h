// A MachineLink connected to a scripted machine, and the requests it sent as
// the machine saw them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "commands/MachineLink.h"
#include "fakes/FakePlatform.h"
#include "link/DeviceChannel.h"

namespace hw::test {

// One request as it crossed the wire: the payload of its data phase (command
// slot still 0) and the command byte of its trigger.
struct SentRequest {
    std::vector<std::uint8_t> payload;
    std::uint8_t trigger = 0;
};

class ConnectedLink : public ::testing::Test {
  protected:
    static constexpr int kPacketSize = 32;

    void SetUp() override {
        fp.InstallMachine("QMV-240", "USB001", "A1B2C3");
        ASSERT_TRUE(link.Connect("QMV-240", 0, kPacketSize, false));
        fp.device.controls.clear();
    }

    // The requests sent since SetUp, in order.
    std::vector<SentRequest> Requests() const {
        std::vector<SentRequest> sent;
        for (const auto& call : fp.device.controls) {
            if (call.code != kIoctlVendorSetCommand) continue;
            if (call.input.size() == 3 + kPacketSize) {
                sent.push_back({{call.input.begin() + 3, call.input.end()}, 0});
            } else if (call.input.size() == 4 && !sent.empty()) {
                sent.back().trigger = call.input[3];
            }
        }
        return sent;
    }

    // The one request sent since SetUp.
    SentRequest OnlyRequest() const {
        const auto sent = Requests();
        EXPECT_EQ(sent.size(), 1u);
        return sent.empty() ? SentRequest{} : sent.front();
    }

    // Queues the machine's answer to the next poll.
    void Answer(std::vector<std::uint8_t> reply) { fp.device.replies.push_back(std::move(reply)); }

    FakePlatform fp;
    MachineLink link{fp.platform};
};

// Compares a sent request with the request as built: the trigger carries the
// command slot byte, the data phase the rest of it behind a 0 slot.
inline void ExpectRequest(const SentRequest& sent, const std::vector<std::uint8_t>& built) {
    ASSERT_FALSE(built.empty());
    EXPECT_EQ(sent.trigger, built[0]);
    ASSERT_GE(sent.payload.size(), built.size());
    EXPECT_EQ(sent.payload[0], 0);
    const std::vector<std::uint8_t> rest(sent.payload.begin() + 1,
                                         sent.payload.begin() + static_cast<long>(built.size()));
    EXPECT_EQ(rest, std::vector<std::uint8_t>(built.begin() + 1, built.end()));
}

}  // namespace hw::test
