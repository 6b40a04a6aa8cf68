#include <cstring>
#include <functional>
#include <string>

#include "ConnectedLink.h"

namespace hw::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct CommandCase {
    const char* name;
    std::function<bool(MachineLink&)> call;
    Bytes built;  // the request as built, command slot first
};

const std::int32_t kMove[] = {1, -2, 3, 4};
const std::int32_t kY0[] = {-150};
const std::int32_t kLaser[] = {1000, -20};
const std::uint16_t kPower[] = {75};

const CommandCase kCommands[] = {
    {"ReturnToOrigin0", [](MachineLink& l) { return l.ReturnToOrigin(0); }, {8, 0x01, 0}},
    {"ReturnToOrigin5", [](MachineLink& l) { return l.ReturnToOrigin(5); }, {8, 0x01, 1}},
    {"CancelProcedure", [](MachineLink& l) { return l.CancelProcedure(); }, {8, 0x01, 2}},
    {"StopMotion", [](MachineLink& l) { return l.StopMotion(); }, {9, 0x01, 0}},
    {"ShowPanelText",
     [](MachineLink& l) { return l.ShowPanelText("AB", 2, 0); },
     {20, 0x03, 254, 'A', 'B'}},
    {"MoveToPosition",
     [](MachineLink& l) { return l.MoveToPosition(kMove, 4, 3600); },
     {64, 0x44, 0x10, 0x0E, 1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0, 4, 0, 0, 0}},
    {"SetPanelMode", [](MachineLink& l) { return l.SetPanelMode(0x5A); }, {96, 0x01, 0x5A}},
    {"WriteSerialNumber",
     [](MachineLink& l) { return l.WriteSerialNumber("QM12345"); },
     {98, 0x08, 'Q', 'M', '1', '2', '3', '4', '5', 0}},
    {"SetScaleCorrection",
     [](MachineLink& l) { return l.SetScaleCorrection(1, 100250, 100000); },
     {99, 0x42, 1, 0, 0x9A, 0x87, 1, 0, 0xA0, 0x86, 1, 0}},
    {"SelectMeterChannel",
     [](MachineLink& l) { return l.SelectMeterChannel(0x102, 1); },
     {103, 0x01, 0x02}},
    {"SelectMeterChannelOff",
     [](MachineLink& l) { return l.SelectMeterChannel(2, 0); },
     {103, 0x01, 0xFF}},
    {"SetPanelOperation0",
     [](MachineLink& l) { return l.SetPanelOperation(0); },
     {0x38, 0x00, 50, 0}},
    {"SetPanelOperation7",
     [](MachineLink& l) { return l.SetPanelOperation(7); },
     {0x38, 0x00, 50, 1}},
    {"StartLoadCheckX",
     [](MachineLink& l) { return l.StartLoadCheck(kLoadAxisX, kPower); },
     {0x38, 0x21, 113, 1, 75, 0}},
    {"StartLoadCheckA",
     [](MachineLink& l) { return l.StartLoadCheck(kLoadAxisA, kPower); },
     {0x38, 0x21, 113, 3, 75, 0}},
    {"StartLoadCheckZ",
     [](MachineLink& l) { return l.StartLoadCheck(kLoadAxisZ, kPower); },
     {0x38, 0x21, 113, 4, 75, 0}},
    {"StartAging", [](MachineLink& l) { return l.StartAging(); }, {0x38, 0x00, 114, 1}},
    {"ClearSpindleTime", [](MachineLink& l) { return l.ClearSpindleTime(); }, {0x38, 0, 116, 0}},
    {"CheckSerialPort", [](MachineLink& l) { return l.CheckSerialPort(); }, {0x38, 0, 119, 0}},
    {"SetY0Offset",
     [](MachineLink& l) { return l.SetY0Offset(kY0); },
     {0x38, 0x41, 130, 0, 0x6A, 0xFF, 0xFF, 0xFF}},
    {"SetLaserOffset",
     [](MachineLink& l) { return l.SetLaserOffset(kLaser); },
     {0x38, 0x42, 131, 0, 0xE8, 0x03, 0, 0, 0xEC, 0xFF, 0xFF, 0xFF}},
    {"ClearPumpTime", [](MachineLink& l) { return l.ClearPumpTime(); }, {0x38, 0, 135, 0}},
};

class CommandTest : public ConnectedLink, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(CommandTest, SendsItsRequestAndSucceedsOnStatusZero) {
    Answer(Reply({0}));
    EXPECT_TRUE(GetParam().call(link));
    ExpectRequest(OnlyRequest(), GetParam().built);
}

TEST_P(CommandTest, FailsWhenTheMachineRefuses) {
    Answer(Reply({0xEE}));
    EXPECT_FALSE(GetParam().call(link));
}

INSTANTIATE_TEST_SUITE_P(Catalogue, CommandTest, ::testing::ValuesIn(kCommands),
                         [](const auto& row) { return std::string(row.param.name); });

// Queries: the request each sends (buffers are large enough for any reply).
struct QueryCase {
    const char* name;
    std::function<void(MachineLink&)> call;
    Bytes built;
};

const QueryCase kQueries[] = {
    {"GetStatusWord", [](MachineLink& l) { l.GetStatusWord(); }, {1, 0x20}},
    {"GetVersionString",
     [](MachineLink& l) {
         char t[64];
         l.GetVersionString(t, 64);
     },
     {2, 0}},
    {"GetPosition",
     [](MachineLink& l) {
         std::int32_t v[4];
         l.GetPosition(v, 4);
     },
     {3, 0x40, 1, 0}},
    {"GetPanelKeys",
     [](MachineLink& l) {
         std::uint8_t b[2];
         l.GetPanelKeys(b, 2);
     },
     {16, 0}},
    {"GetSensorBytes",
     [](MachineLink& l) {
         std::uint8_t b[13];
         l.GetSensorBytes(b, 13);
     },
     {17, 0}},
    {"GetDialCounter",
     [](MachineLink& l) {
         std::int32_t v[1];
         l.GetDialCounter(v, 1);
     },
     {18, 0x40, 0, 0}},
    {"GetAnalogValues",
     [](MachineLink& l) {
         std::uint16_t w[8];
         l.GetAnalogValues(w, 8);
     },
     {0x38, 0x20, 51, 1}},
    {"GetLaserOffset",
     [](MachineLink& l) {
         std::int32_t v[2];
         l.GetLaserOffset(v);
     },
     {0x38, 0x40, 59, 0}},
    {"GetY0Offset",
     [](MachineLink& l) {
         std::int32_t v[1];
         l.GetY0Offset(v);
     },
     {0x38, 0x40, 61, 0}},
};

class QueryTest : public ConnectedLink, public ::testing::WithParamInterface<QueryCase> {};

TEST_P(QueryTest, SendsItsRequest) {
    GetParam().call(link);
    ExpectRequest(OnlyRequest(), GetParam().built);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, QueryTest, ::testing::ValuesIn(kQueries),
                         [](const auto& row) { return std::string(row.param.name); });

using CatalogueTest = ConnectedLink;

TEST_F(CatalogueTest, StatusWordIsTheOneWordOrNoAnswer) {
    const struct {
        Bytes reply;
        std::uint16_t expected;
    } cases[] = {
        {{0, 1, 0x34, 0x12}, 0x1234},
        {{0, 2, 0x34, 0x12, 0x78, 0x56}, 0x1234},  // more than one: the first
        {{0, 0, 0x34, 0x12}, kStatusNoAnswer},     // no word
        {{0xEE, 1, 0x34, 0x12}, kStatusNoAnswer},  // refused
    };
    for (const auto& c : cases) {
        Answer(c.reply);
        EXPECT_EQ(link.GetStatusWord(), c.expected);
    }
}

TEST_F(CatalogueTest, VersionStringEndsWithNulOverItsLastByte) {
    char text[64];
    Answer({0, 4, 'V', '1', '.', '2'});
    ASSERT_TRUE(link.GetVersionString(text, 64));
    EXPECT_STREQ(text, "V1.");

    std::memset(text, 'x', sizeof text);
    Answer({0, 1, 'V'});
    ASSERT_TRUE(link.GetVersionString(text, 64));
    EXPECT_STREQ(text, "");
}

TEST_F(CatalogueTest, VersionStringFailsWithoutTextOrBeyondThePacket) {
    char text[64];
    Answer({0, 0, 'V'});
    EXPECT_FALSE(link.GetVersionString(text, 64));
    Answer({0, 30});
    EXPECT_TRUE(link.GetVersionString(text, 64));
    Answer({0, 31});
    EXPECT_FALSE(link.GetVersionString(text, 64));
    Answer({0xEE, 4, 'V', '1', '.', '2'});
    EXPECT_FALSE(link.GetVersionString(text, 64));
}

TEST_F(CatalogueTest, DirectQueriesCopyAtMostTheCapacity) {
    std::int32_t position[4] = {};
    Answer({0, 5, 0, 0, 1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0, 4, 0, 0, 0, 9, 9, 9, 9});
    EXPECT_EQ(link.GetPosition(position, 4), 4);
    EXPECT_EQ(position[1], -2);
    EXPECT_EQ(position[3], 4);

    std::int32_t dial[1] = {};
    Answer({0, 1, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(link.GetDialCounter(dial, 1), 1);
    EXPECT_EQ(dial[0], -2);

    std::uint8_t keys[2] = {};
    Answer({0, 3, 0xAA, 0x55, 0x11});
    EXPECT_EQ(link.GetPanelKeys(keys, 2), 2);
    EXPECT_EQ(keys[1], 0x55);

    std::uint8_t sensors[13] = {};
    Answer({0, 12, 1, 2, 3});
    EXPECT_EQ(link.GetSensorBytes(sensors, 13), 12);
    EXPECT_EQ(sensors[2], 3);
}

TEST_F(CatalogueTest, ExtendedQueriesNeedEveryItem) {
    std::int32_t laser[2] = {};
    Answer({0, 0, 0, 0, 0x18, 0xFC, 0xFF, 0xFF, 0x2C, 0x01, 0, 0});
    ASSERT_TRUE(link.GetLaserOffset(laser));
    EXPECT_EQ(laser[0], -1000);
    EXPECT_EQ(laser[1], 300);

    std::int32_t y0 = 0;
    Answer({0, 1, 0, 0, 0x6A, 0xFF, 0xFF, 0xFF});
    ASSERT_TRUE(link.GetY0Offset(&y0));
    EXPECT_EQ(y0, -150);
    Answer({0xEE});
    EXPECT_FALSE(link.GetY0Offset(&y0));

    std::uint16_t words[15] = {};
    Answer({0, 8, 0, 0, 1, 0, 2, 0, 3, 0, 4, 0, 0x34, 0x12});
    EXPECT_EQ(link.GetAnalogValues(words, 8), 8);
    EXPECT_EQ(words[4], 0x1234);
    EXPECT_EQ(link.GetAnalogValues(words, 15), -1);  // more than the packet holds
    Answer({0xEE});
    EXPECT_EQ(link.GetAnalogValues(words, 8), -1);
}

TEST(PanelTextTimeByte, MapsMillisecondsToTheTimeByte) {
    const struct {
        int timeMs;
        std::uint8_t expected;
    } cases[] = {{0, 254},    {1, 1},      {5, 1},      {19, 1},      {20, 2}, {29, 2},
                 {2500, 250}, {2509, 250}, {2510, 250}, {10000, 250}, {-5, 1}, {-100000, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(MachineLink::PanelTextTimeByte(c.timeMs), c.expected) << c.timeMs;
    }
}

TEST_F(CatalogueTest, PanelTextAndSerialNumberKeepToThePacket) {
    const std::string text(30, 'T');
    EXPECT_TRUE(link.ShowPanelText(text.c_str(), 29, 20));
    EXPECT_EQ(OnlyRequest().payload[2], 2);
    fp.device.controls.clear();
    EXPECT_FALSE(link.ShowPanelText(text.c_str(), 30, 20));
    EXPECT_FALSE(link.ShowPanelText(text.c_str(), -1, 20));
    EXPECT_FALSE(link.WriteSerialNumber(text.c_str()));  // 31 bytes with the NUL
    EXPECT_FALSE(link.WriteSerialNumber(nullptr));
    EXPECT_TRUE(Requests().empty());
    EXPECT_TRUE(link.WriteSerialNumber(text.substr(1).c_str()));
    EXPECT_EQ(OnlyRequest().payload[1], 30);
}

TEST_F(CatalogueTest, MeterReadRefusesUntilAChannelIsSelected) {
    float amps[1] = {};
    EXPECT_EQ(link.ReadMeterChannel(amps, 1), -1);
    EXPECT_TRUE(fp.device.controls.empty());

    ASSERT_TRUE(link.SelectMeterChannel(5, 1));
    ASSERT_TRUE(link.Connect("QMV-240", 0, kPacketSize, false));  // forgets the selection
    fp.device.controls.clear();
    EXPECT_EQ(link.ReadMeterChannel(amps, 1), -1);
    EXPECT_TRUE(fp.device.controls.empty());
}

TEST_F(CatalogueTest, DeselectingStillStoresTheChannelForTheMeterRead) {
    ASSERT_TRUE(link.SelectMeterChannel(0x0305, 0));
    float amps[2] = {};
    Answer({0, 1, 0, 0, 0x00, 0x00, 0xC0, 0x3F});
    EXPECT_EQ(link.ReadMeterChannel(amps, 2), 1);
    EXPECT_EQ(amps[0], 1.5f);
    const auto sent = Requests();
    ASSERT_EQ(sent.size(), 2u);
    ExpectRequest(sent[0], {103, 0x01, 0xFF});
    ExpectRequest(sent[1], {50, 0x60, 0x05, 0x03});
}

TEST_F(CatalogueTest, MeterReadCopiesAtMostTheCapacityAndFailsOnRefusal) {
    ASSERT_TRUE(link.SelectMeterChannel(0, 1));
    float values[3] = {};
    Answer({0, 3, 0, 0, 0, 0, 0x80, 0x3F, 0, 0, 0, 0x40, 0, 0, 0x40, 0x40});
    EXPECT_EQ(link.ReadMeterChannel(values, 2), 2);
    EXPECT_EQ(values[1], 2.0f);
    EXPECT_EQ(values[2], 0.0f);
    Answer({0, 0});
    EXPECT_EQ(link.ReadMeterChannel(values, 3), 0);
    Answer({0xEE, 3});
    EXPECT_EQ(link.ReadMeterChannel(values, 3), -1);
}

TEST_F(CatalogueTest, DirectAndExtendedFiftyAreDifferentCommands) {
    ASSERT_TRUE(link.SelectMeterChannel(1, 1));
    fp.device.controls.clear();
    float amps[1];
    link.ReadMeterChannel(amps, 1);
    ASSERT_TRUE(link.SetPanelOperation(1));
    const auto sent = Requests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].trigger, 50);
    EXPECT_EQ(sent[0].payload[1], kTypeFloats);
    EXPECT_EQ(sent[1].trigger, kExtendedMarker);
    EXPECT_EQ(sent[1].payload[2], 50);
}

}  // namespace
}  // namespace hw::test
