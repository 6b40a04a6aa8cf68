#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "fakes/TestLink.h"

namespace hw::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class Builders : public ConnectedLinkTest<TestLink> {};

// Each builder at each packet size: the largest count that is sent and the
// first that is refused without any device traffic. A request whose header
// alone does not fit (largest −1) is refused even without items.
TEST_F(Builders, SizeLimitsAtEachPacketSize) {
    std::vector<std::uint8_t> bytes(64, 0x11);
    std::vector<std::uint16_t> words(64, 0x2222);
    std::vector<std::uint32_t> dwords(64, 0x33333333);
    std::vector<float> floats(64, 1.5f);
    const std::vector<std::int32_t> sizes = {2, 3, 4, 5, 7, 32};
    struct Case {
        std::string name;
        std::vector<int> largest;  // one per packet size
        std::function<bool(int)> send;
    };
    const std::vector<Case> cases = {
        {"SendBytes",
         {0, 1, 2, 3, 5, 30},
         [&](int n) { return link.SendBytes(1, bytes.data(), n); }},
        {"SendValueAndBytes",
         {-1, 0, 1, 2, 4, 29},
         [&](int n) { return link.SendValueAndBytes(20, 7, bytes.data(), n); }},
        {"SendWords",
         {0, 0, 1, 1, 2, 15},
         [&](int n) { return link.SendWords(1, words.data(), n); }},
        {"SendDwords",
         {-1, -1, 0, 0, 0, 7},
         [&](int n) { return link.SendDwords(1, 0x0102, dwords.data(), n); }},
        {"SendFloats",
         {-1, -1, 0, 0, 0, 7},
         [&](int n) { return link.SendFloats(1, 0x0102, floats.data(), n); }},
        {"SendExtendedBytes",
         {-1, -1, 0, 1, 3, 28},
         [&](int n) { return link.SendExtendedBytes(1, 9, bytes.data(), n); }},
        {"SendExtendedWords",
         {-1, -1, 0, 0, 1, 14},
         [&](int n) { return link.SendExtendedWords(1, 9, words.data(), n); }},
        {"SendExtendedDwords",
         {-1, -1, 0, 0, 0, 7},
         [&](int n) { return link.SendExtendedDwords(1, 9, dwords.data(), n); }},
    };
    for (std::size_t s = 0; s < sizes.size(); ++s) {
        ASSERT_TRUE(link.Connect(kQueue, 0, sizes[s], false));
        for (const auto& c : cases) {
            const int largest = c.largest[s];
            const std::string where = c.name + " at packet size " + std::to_string(sizes[s]);
            if (largest >= 0) {
                fake.device.controls.clear();
                EXPECT_TRUE(c.send(largest)) << where;
                EXPECT_EQ(fake.device.VendorSetCount(), 2u) << where;
            }
            fake.device.controls.clear();
            EXPECT_FALSE(c.send(largest + 1)) << where;
            EXPECT_FALSE(c.send(-1)) << where;
            EXPECT_TRUE(fake.device.controls.empty()) << where;
        }
    }
}

TEST_F(Builders, ValueAndBytesLeadWithTheValue) {
    const std::uint8_t data = 0x41;
    ASSERT_TRUE(link.SendValueAndBytes(20, 254, &data, 1));
    EXPECT_EQ(PayloadHead(5), (Bytes{0x00, 0x02, 0xFE, 0x41, 0x00}));
}

TEST_F(Builders, WordAndFloatRequestsLayOutTheirItems) {
    const std::uint16_t words[2] = {0x1234, 0xABCD};
    ASSERT_TRUE(link.SendWords(5, words, 2));
    EXPECT_EQ(PayloadHead(6), (Bytes{0x00, 0x22, 0x34, 0x12, 0xCD, 0xAB}));
    const float value = 2.0f;
    ASSERT_TRUE(link.SendFloats(50, 0x0102, &value, 1));
    EXPECT_EQ(PayloadHead(8), (Bytes{0x00, 0x61, 0x02, 0x01, 0x00, 0x00, 0x00, 0x40}));
    const std::uint32_t dword = 0xFFFFFFFE;  // −2 as a signed item
    ASSERT_TRUE(link.SendExtendedDwords(130, 0, &dword, 1));
    EXPECT_EQ(PayloadHead(8), (Bytes{0x00, 0x41, 130, 0x00, 0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(VendorSets().back(), (Bytes{0xF0, 0, 0, 0x38}));
}

TEST(Connect, RefusesSizesAndIndicesBeforeTouchingTheChannel) {
    struct Case {
        std::uint32_t index;
        std::int32_t size;
    };
    for (const Case c : {Case{0, 4094}, Case{0, -1}, Case{8, 32}, Case{0, 1}, Case{0, 0}}) {
        FakePlatform fake;
        fake.InstallMachine(kQueue, "USB001", "A1B2C3");
        TestLink link(fake.platform);
        EXPECT_FALSE(link.Connect(kQueue, c.index, c.size, false)) << c.size;
        EXPECT_TRUE(fake.device.opens.empty());
        EXPECT_TRUE(link.Channel().PrinterName().empty());
    }
}

TEST(Connect, LargestPacketFillsA4096ByteBlockAndCapsTheItemCount) {
    FakePlatform fake;
    fake.InstallMachine(kQueue, "USB001", "A1B2C3");
    TestLink link(fake.platform);
    ASSERT_TRUE(link.Connect(kQueue, 2, 4093, false));
    EXPECT_EQ(link.Buffer().BlockSize(), 4096u);
    EXPECT_EQ(link.Buffer().Block()[0], 0xF2);
    // The count field holds 31 at most, however large the packet.
    std::vector<std::uint8_t> data(40, 1);
    EXPECT_TRUE(link.SendBytes(1, data.data(), 31));
    EXPECT_FALSE(link.SendBytes(1, data.data(), 32));
    EXPECT_FALSE(link.SendExtendedBytes(1, 0, data.data(), 32));
    EXPECT_EQ(fake.device.VendorSetCount(), 2u);  // only the request of 31 went out
}

// A link whose meter-channel selection a test can set and read.
class SelectingLink final : public DeviceLink {
  public:
    using DeviceLink::DeviceLink;
    ~SelectingLink() = default;
    void Select(std::int32_t meterChannel) { selection = meterChannel; }
    std::int32_t Selection() const { return selection; }
};

TEST(Connect, ConnectAgainReallocatesAndResetsTheMeterSelection) {
    FakePlatform fake;
    fake.InstallMachine(kQueue, "USB001", "A1B2C3");
    SelectingLink link(fake.platform);
    ASSERT_TRUE(link.Connect(kQueue, 0, 32, false));
    link.Select(5);
    ASSERT_TRUE(link.Connect(kQueue, 0, 16, false));
    EXPECT_EQ(link.Selection(), -1);
    EXPECT_EQ(link.Buffer().BlockSize(), 19u);
    EXPECT_EQ(link.PacketSize(), 16);
    EXPECT_EQ(fake.device.closes.size(), 1u);  // the first handle was closed
}

}  // namespace
}  // namespace hw::test
