#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "fakes/TestLink.h"

namespace hw::test {
namespace {

class Readers : public ConnectedLinkTest<TestLink> {};

TEST_F(Readers, QueryBytesCopiesAtMostTheCapacity) {
    struct Case {
        std::uint8_t count;
        int cap;
        int result;
    };
    // 30 bytes fit behind the status and count bytes of a 32-byte payload.
    for (const Case c : {Case{10, 4, 4}, Case{3, 4, 3}, Case{0, 4, 0}, Case{30, 64, 30},
                         Case{31, 64, -1}, Case{200, 30, 30}, Case{200, 31, -1}}) {
        std::vector<std::uint8_t> reply(32);
        reply[1] = c.count;
        for (int i = 2; i < 32; ++i) reply[i] = static_cast<std::uint8_t>(i);
        fake.device.replies = {reply};
        std::uint8_t out[64] = {};
        EXPECT_EQ(link.QueryBytes(17, out, c.cap), c.result) << int(c.count) << "/" << c.cap;
        if (c.result > 0) {
            EXPECT_EQ(out[c.result - 1], c.result + 1);
        }
    }
}

TEST_F(Readers, FailedTransactionReadsNothing) {
    fake.device.replies = {Reply({1, 4, 1, 2, 3, 4})};
    std::uint8_t bytes[4] = {};
    EXPECT_EQ(link.QueryBytes(17, bytes, 4), 0);
    fake.device.replies = {Reply({1, 1})};
    std::uint16_t word = 7;
    EXPECT_EQ(link.QueryWords(1, &word, 1), 0);
    EXPECT_EQ(word, 7);
    fake.device.replies = {Reply({1})};
    std::uint32_t dwords[2] = {};
    EXPECT_EQ(link.QueryExtendedDwords(59, 0, dwords, 2), -1);
}

TEST_F(Readers, DirectWordAndDwordItemsStartAtTheirOffsets) {
    fake.device.replies = {Reply({0, 2, 0x34, 0x12, 0x78, 0x56})};
    std::uint16_t words[4] = {};
    EXPECT_EQ(link.QueryWords(1, words, 4), 2);
    EXPECT_EQ(words[0], 0x1234);
    EXPECT_EQ(words[1], 0x5678);

    fake.device.replies = {
        Reply({0, 3, 0xEE, 0xEE, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 9, 0, 0, 0})};
    std::uint32_t dwords[2] = {};
    EXPECT_EQ(link.QueryDwords(3, 1, dwords, 2), 2);
    EXPECT_EQ(dwords[0], 1u);
    EXPECT_EQ(dwords[1], 0xFFFFFFFFu);
    EXPECT_EQ(LastPayload()[1], 0x40);  // a 32-bit request with no items
    EXPECT_EQ(LastPayload()[2], 1);     // its sub-code
}

TEST_F(Readers, ExtendedReadersTakeExactlyKItemsFromOffsetFour) {
    fake.device.replies = {Reply({0, 0, 0xEE, 0xEE, 5, 0, 6, 0})};
    std::uint16_t words[14] = {};
    EXPECT_EQ(link.QueryExtendedWords(51, 1, words, 2), 2);  // the count byte is not read
    EXPECT_EQ(words[0], 5);
    EXPECT_EQ(words[1], 6);
    EXPECT_EQ(link.QueryExtendedWords(51, 1, words, 14), 14);
    EXPECT_EQ(link.QueryExtendedWords(51, 1, words, 15), -1);  // succeeded, but 15 do not fit
    std::uint32_t dwords[8] = {};
    EXPECT_EQ(link.QueryExtendedDwords(59, 0, dwords, 7), 7);
    EXPECT_EQ(link.QueryExtendedDwords(59, 0, dwords, 8), -1);
}

}  // namespace
}  // namespace hw::test
