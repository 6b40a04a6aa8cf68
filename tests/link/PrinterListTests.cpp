#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakePlatform.h"
#include "link/DeviceLink.h"

namespace hw::test {
namespace {

class TestLink final : public DeviceLink {
  public:
    using DeviceLink::DeviceLink;
};

class PrinterListTest : public ::testing::Test {
  protected:
    void AddPrinter(const std::string& name, const std::string& driver) {
        fake.spooler.printers.push_back({name, "USB001", driver});
    }

    std::vector<std::string> Listed() const {
        std::vector<std::string> names;
        for (int i = 0; link.PrinterName(i) != nullptr; ++i) names.push_back(*link.PrinterName(i));
        return names;
    }

    FakePlatform fake;
    TestLink link{fake.platform};
};

TEST_F(PrinterListTest, ListsQueuesWhoseDriverMatchesExactly) {
    AddPrinter("Engraver", kMachineDriver);
    AddPrinter("Lower case", "varnel qmv-240");
    AddPrinter("Trailing blank", "Varnel QMV-240 ");
    AddPrinter("Prefix only", "Varnel QMV-24");
    AddPrinter("Office", "Laser Printer");
    AddPrinter("Engraver (Copy 1)", kMachineDriver);

    EXPECT_EQ(link.FindPrinters(kMachineDriver), 2);
    EXPECT_EQ(Listed(), (std::vector<std::string>{"Engraver", "Engraver (Copy 1)"}));
    EXPECT_EQ(fake.spooler.openPrinters, 0);
    EXPECT_EQ(fake.alerts.outOfMemory, 0);

    // A later search replaces the list.
    EXPECT_EQ(link.FindPrinters("Laser Printer"), 1);
    EXPECT_EQ(Listed(), std::vector<std::string>{"Office"});
    EXPECT_EQ(link.FindPrinters("Plotter"), 0);
    EXPECT_TRUE(Listed().empty());
}

TEST_F(PrinterListTest, NullDriverListsEveryQueueInSpoolerOrder) {
    AddPrinter("B", "Laser Printer");
    AddPrinter("A", kMachineDriver);
    AddPrinter("C", "");
    EXPECT_EQ(link.FindPrinters(nullptr), 3);
    EXPECT_EQ(Listed(), (std::vector<std::string>{"B", "A", "C"}));
}

struct OutcomeCase {
    const char* label;
    EnumOutcome outcome;
    int result;
    int outOfMemoryBoxes;
};

class PrinterListOutcome : public PrinterListTest,
                           public ::testing::WithParamInterface<OutcomeCase> {};

// Every call starts from an empty list, whatever the spooler answers.
TEST_P(PrinterListOutcome, ReturnsResultAndEmptiesList) {
    AddPrinter("Engraver", kMachineDriver);
    ASSERT_EQ(link.FindPrinters(kMachineDriver), 1);
    fake.spooler.enumOutcome = GetParam().outcome;
    if (GetParam().outcome == EnumOutcome::Listed) fake.spooler.printers.clear();

    EXPECT_EQ(link.FindPrinters(kMachineDriver), GetParam().result);
    EXPECT_TRUE(Listed().empty());
    EXPECT_EQ(fake.alerts.outOfMemory, GetParam().outOfMemoryBoxes);
}

INSTANTIATE_TEST_SUITE_P(
    PrinterList, PrinterListOutcome,
    ::testing::Values(OutcomeCase{"SizingFailed", EnumOutcome::SizingFailed, -1, 0},
                      OutcomeCase{"OutOfMemory", EnumOutcome::OutOfMemory, -1, 1},
                      OutcomeCase{"SecondCallFailed", EnumOutcome::Failed, 0, 0},
                      OutcomeCase{"NoLocalPrinters", EnumOutcome::Listed, 0, 0}),
    [](const auto& test) { return std::string(test.param.label); });

TEST_F(PrinterListTest, PrinterNameOutsideListIsNull) {
    AddPrinter("Engraver", kMachineDriver);
    ASSERT_EQ(link.FindPrinters(kMachineDriver), 1);
    for (int index : {-1, 1, 2, -2147483647 - 1, 2147483647}) {
        EXPECT_EQ(link.PrinterName(index), nullptr) << index;
    }
    ASSERT_NE(link.PrinterName(0), nullptr);
    EXPECT_EQ(*link.PrinterName(0), "Engraver");
}

}  // namespace
}  // namespace hw::test
