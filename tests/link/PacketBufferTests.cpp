#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "link/PacketBuffer.h"

namespace hw {
namespace {

using Outcome = PacketBuffer::AllocateOutcome;

TEST(PacketBuffer, AllocateRefusesOutOfRangeAndKeepsTheEarlierBlock) {
    PacketBuffer buffer;
    ASSERT_EQ(buffer.Allocate(2, 32), Outcome::Done);
    const std::uint8_t* before = buffer.Block();
    struct Case {
        std::uint32_t index;
        std::int32_t size;
    };
    for (const Case c : {Case{0, -1}, Case{0, 4094}, Case{8, 32}, Case{0xFFFFFFFF, 32}}) {
        EXPECT_EQ(buffer.Allocate(c.index, c.size), Outcome::Refused) << c.index << " " << c.size;
        EXPECT_EQ(buffer.Block(), before);
        EXPECT_EQ(buffer.BlockSize(), 35u);
    }
}

TEST(PacketBuffer, AllocateWritesHeaderAndZeroFills) {
    PacketBuffer buffer;
    ASSERT_EQ(buffer.Allocate(7, 4093), Outcome::Done);
    EXPECT_EQ(buffer.BlockSize(), 4096u);
    EXPECT_EQ(buffer.Block()[0], 0xF7);
    for (std::size_t i = 1; i < buffer.BlockSize(); ++i) ASSERT_EQ(buffer.Block()[i], 0) << i;
}

TEST(PacketBuffer, WritersStopAtThePayloadEnd) {
    PacketBuffer buffer;
    ASSERT_EQ(buffer.Allocate(0, 7), Outcome::Done);
    const std::uint8_t bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    buffer.RewindWrite();
    EXPECT_EQ(buffer.PutBytes(bytes, 8), -1);
    EXPECT_EQ(buffer.WriteOffset(), 0u);
    EXPECT_EQ(buffer.PutBytes(bytes, 7), 7);
    buffer.PutByte(9);  // dropped
    EXPECT_EQ(buffer.WriteOffset(), 7u);

    const std::uint16_t words[4] = {0x0102, 0x0304, 0x0506, 0x0708};
    buffer.RewindWrite();
    EXPECT_EQ(buffer.PutWords(words, 4), 3);  // 7 bytes hold three words
    const std::uint32_t dwords[2] = {0x11223344, 0x55667788};
    buffer.RewindWrite();
    EXPECT_EQ(buffer.PutDwords(dwords, 2), 1);
    const std::vector<std::uint8_t> payload(buffer.Block() + 3, buffer.Block() + 10);
    EXPECT_EQ(payload, (std::vector<std::uint8_t>{0x44, 0x33, 0x22, 0x11, 0x06, 0x05, 7}));
}

TEST(PacketBuffer, FloatsTravelAsLittleEndianSinglePrecision) {
    PacketBuffer buffer;
    ASSERT_EQ(buffer.Allocate(0, 8), Outcome::Done);
    const float values[2] = {1.0f, -2.5f};
    buffer.RewindWrite();
    ASSERT_EQ(buffer.PutFloats(values, 2), 2);
    const std::vector<std::uint8_t> payload(buffer.Block() + 3, buffer.Block() + 11);
    EXPECT_EQ(payload, (std::vector<std::uint8_t>{0, 0, 0x80, 0x3F, 0, 0, 0x20, 0xC0}));
    float back[2] = {};
    buffer.RewindRead();
    EXPECT_EQ(buffer.GetFloats(back, 2), 2);
    EXPECT_EQ(back[0], 1.0f);
    EXPECT_EQ(back[1], -2.5f);
}

TEST(PacketBuffer, ReadersStopAtThePayloadEnd) {
    PacketBuffer buffer;
    ASSERT_EQ(buffer.Allocate(0, 6), Outcome::Done);
    std::uint8_t out[8] = {};
    buffer.RewindRead();
    buffer.SkipRead(2);
    EXPECT_EQ(buffer.GetBytes(out, 5), -1);
    EXPECT_EQ(buffer.ReadOffset(), 2u);
    std::uint32_t dword[2] = {};
    EXPECT_EQ(buffer.GetDwords(dword, 2), 1);
    EXPECT_EQ(buffer.GetByte(), 0);  // past the end
    EXPECT_EQ(buffer.ReadOffset(), 6u);
    buffer.SkipRead(100);
    EXPECT_EQ(buffer.ReadOffset(), 6u);
}

TEST(PacketBuffer, WithoutBlockEveryOperationIsHarmless) {
    PacketBuffer buffer;
    std::uint8_t byte = 1;
    buffer.RewindWrite();
    buffer.PutByte(1);
    EXPECT_EQ(buffer.PutBytes(&byte, 1), -1);
    EXPECT_EQ(buffer.PutWords(nullptr, 0), 0);
    buffer.RewindRead();
    EXPECT_EQ(buffer.GetByte(), 0);
    EXPECT_EQ(buffer.GetBytes(&byte, 1), -1);
    EXPECT_FALSE(buffer.HasBlock());
}

TEST(PacketBuffer, ReallocationLeavesNoCursorInTheOldBlock) {
    PacketBuffer buffer;
    ASSERT_EQ(buffer.Allocate(0, 32), Outcome::Done);
    buffer.RewindWrite();
    buffer.PutByte(1);
    ASSERT_EQ(buffer.Allocate(0, 0), Outcome::Done);
    buffer.RewindWrite();  // no payload: the cursor stays where Allocate put it
    buffer.PutByte(5);     // dropped, not written into freed memory
    EXPECT_EQ(buffer.WriteOffset(), 0u);
    EXPECT_EQ(buffer.BlockSize(), 3u);
}

}  // namespace
}  // namespace hw
