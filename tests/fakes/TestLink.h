// A device link connected to a scripted machine, for tests of the link and
// of the command catalogue.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fakes/FakePlatform.h"
#include "link/DeviceLink.h"

namespace hw::test {

// DeviceLink is destroyed only as part of its owner; this is the owner here.
class TestLink final : public DeviceLink {
  public:
    using DeviceLink::DeviceLink;
    ~TestLink() = default;
};

inline constexpr const char* kQueue = "QMV-240";

// A fixture whose link is connected with packet size 32 to one machine queue;
// the clock advances 1 ms per reading (FakeSystem's default step).
template <typename Link>
class ConnectedLinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fake.InstallMachine(kQueue, "USB001", "A1B2C3");
        ASSERT_TRUE(link.Connect(kQueue, 0, 32, false));
    }

    // The vendor-set blocks sent so far, in order (data phases and triggers).
    std::vector<std::vector<std::uint8_t>> VendorSets() const {
        std::vector<std::vector<std::uint8_t>> sets;
        for (const auto& call : fake.device.controls) {
            if (call.code == kIoctlVendorSetCommand) sets.push_back(call.input);
        }
        return sets;
    }

    // The payload of the last data phase (the request as sent, slot 0 zeroed).
    std::vector<std::uint8_t> LastPayload() const {
        const auto sets = VendorSets();
        for (auto it = sets.rbegin(); it != sets.rend(); ++it) {
            if (it->size() > 4) return std::vector<std::uint8_t>(it->begin() + 3, it->end());
        }
        return {};
    }

    // The first n bytes of that payload.
    std::vector<std::uint8_t> PayloadHead(std::size_t n) const {
        auto payload = LastPayload();
        payload.resize(n);
        return payload;
    }

    FakePlatform fake;
    Link link{fake.platform};
};

}  // namespace hw::test
