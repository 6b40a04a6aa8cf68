// Drives a simulated controller the way the link does, at the vendor-request
// level: data phase with the command slot at 0, a 4-byte trigger, polls until
// the reply is no longer pending.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "sim/usb/SimController.h"

namespace hw::test {

class SimHost {
  public:
    explicit SimHost(const SimConfig& config = {}, std::uint32_t packetSize = 32)
        : controller(clock, config), packetSize_(packetSize) {}

    TestClock clock{1};
    SimController controller;
    int polls = 0;

    SimMachine& Machine() { return controller.Machine(); }

    // Sends the payload (its first byte is the command slot) and returns the
    // reply payload; a reply still pending after maxPolls is returned as is.
    std::vector<std::uint8_t> Exchange(const std::vector<std::uint8_t>& payload,
                                       int maxPolls = 200000) {
        std::vector<std::uint8_t> block(3 + packetSize_, 0);
        block[0] = 0xF0;
        std::memcpy(block.data() + 3, payload.data(),
                    std::min<std::size_t>(payload.size(), packetSize_));
        slot_ = block[3];
        block[3] = 0;
        EXPECT_TRUE(controller.VendorSet(block.data(), static_cast<std::uint32_t>(block.size())));
        const std::uint8_t trigger[4] = {0xF0, 0, 0, slot_};
        EXPECT_TRUE(controller.VendorSet(trigger, 4));
        return PollOn(maxPolls);
    }

    // Polls for the reply of the last exchange until it is no longer pending
    // or maxPolls have been made.
    std::vector<std::uint8_t> PollOn(int maxPolls = 200000) {
        const std::uint8_t header[3] = {0xF0, 0, 0};
        std::vector<std::uint8_t> reply(packetSize_, 0);
        for (polls = 0; polls < maxPolls; ++polls) {
            std::uint32_t returned = 0;
            EXPECT_TRUE(controller.VendorGet(header, 3, reply.data(), packetSize_, returned));
            if (reply[0] != slot_) break;
        }
        return reply;
    }

    // A direct request: command, count/type, then the remaining bytes.
    std::vector<std::uint8_t> Direct(std::uint8_t cmd, std::uint8_t countType,
                                     std::initializer_list<std::uint8_t> rest = {}) {
        std::vector<std::uint8_t> payload{cmd, countType};
        payload.insert(payload.end(), rest);
        return Exchange(payload);
    }

    std::vector<std::uint8_t> Extended(std::uint8_t cmd, std::uint8_t countType, std::uint8_t sub,
                                       std::initializer_list<std::uint8_t> rest = {}) {
        std::vector<std::uint8_t> payload{0x38, countType, cmd, sub};
        payload.insert(payload.end(), rest);
        return Exchange(payload);
    }

    std::uint16_t Status() {
        const auto reply = Direct(1, 0x20);
        EXPECT_EQ(reply[0], 0);
        EXPECT_EQ(reply[1], 1);
        return static_cast<std::uint16_t>(reply[2] | (reply[3] << 8));
    }

    // Lets the clock run, with the machine looking at it.
    void Wait(std::uint64_t ms) {
        clock.Advance(ms);
        Status();
    }

    std::vector<std::uint8_t> Read(std::uint32_t n) {
        std::vector<std::uint8_t> bytes(n);
        std::uint32_t done = 0;
        EXPECT_TRUE(controller.BulkRead(bytes.data(), n, done));
        bytes.resize(done);
        return bytes;
    }

    std::vector<std::uint8_t> ReadAll() {
        std::vector<std::uint8_t> all;
        for (auto piece = Read(1024); !piece.empty(); piece = Read(1024)) {
            all.insert(all.end(), piece.begin(), piece.end());
        }
        return all;
    }

    void Write(const std::vector<std::uint8_t>& bytes) {
        std::uint32_t done = 0;
        EXPECT_TRUE(
            controller.BulkWrite(bytes.data(), static_cast<std::uint32_t>(bytes.size()), done));
        EXPECT_EQ(done, bytes.size());
    }

  private:
    std::uint32_t packetSize_;
    std::uint8_t slot_ = 0;
};

inline std::int32_t Le32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::int32_t>(bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
                                     (static_cast<std::uint32_t>(bytes[at + 3]) << 24));
}

inline std::vector<std::uint8_t> Le32Bytes(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    return {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
            static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)};
}

}  // namespace hw::test
