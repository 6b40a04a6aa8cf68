// The backlash picture's geometry for a client size, and the table as
// comma-separated values.
#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <locale>
#include <string>
#include <vector>

#include "console/BacklashCsv.h"
#include "console/BacklashPlot.h"

namespace hw {
namespace {

using Table = std::array<BacklashEntry, kBacklashSteps>;

// Angles 0 to 351; plus and minus from the step's index.
template <class Plus, class Minus>
Table MakeTable(Plus plus, Minus minus) {
    Table table{};
    for (int i = 0; i < kBacklashSteps; ++i) table[i] = {9.0 * i, plus(i), minus(i)};
    return table;
}

const ui::Rect kArea{0, 0, 640, 400};

bool Inside(const ui::Rect& r, ui::Point p) {
    return r.Contains(p);
}

TEST(BacklashPlot, ScalesTicksAndPoints) {
    const Table zeros = MakeTable([](int) { return 0.0; }, [](int) { return 0.0; });
    const Table hump = MakeTable([](int i) { return i == 12 ? 0.27 : 0.018; },
                                 [](int i) { return i == 13 ? 0.216 : 0.0; });
    const Table mixed =
        MakeTable([](int i) { return 0.018 * (i % 5); }, [](int i) { return -0.036 * (i % 3); });
    struct Case {
        const char* name;
        const Table& table;
        BacklashMark largest;
        int markRow;
        bool minusMarked;
        std::vector<std::string> ticks;
        bool zeroLine;
    };
    const Case cases[] = {
        {"all zero",
         zeros,
         {0, 0},
         0,
         false,
         {"0.00", "0.02", "0.04", "0.06", "0.08", "0.10"},
         false},
        {"hump", hump, {108, 0.27}, 12, false, {"0.0", "0.1", "0.2", "0.3"}, false},
        {"mixed", mixed, {18, -0.072}, 2, true, {"-0.10", "-0.05", "0.00", "0.05", "0.10"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const BacklashPlotLayout plot = LayOutBacklashPlot(c.table, c.largest, kArea);
        ASSERT_FALSE(plot.frame.IsEmpty());
        std::vector<std::string> labels;
        for (const PlotTick& tick : plot.valueTicks) labels.push_back(tick.label);
        EXPECT_EQ(labels, c.ticks);
        // The scale spans the frame: lowest tick at the bottom, highest at the top.
        EXPECT_EQ(plot.valueTicks.front().pixel, plot.frame.bottom - 1);
        EXPECT_EQ(plot.valueTicks.back().pixel, plot.frame.top);
        EXPECT_EQ(plot.angleTicks.front().pixel, plot.frame.left);
        EXPECT_EQ(plot.angleTicks.back().label, "360");
        EXPECT_EQ(plot.angleTicks.back().pixel, plot.frame.right - 1);
        EXPECT_EQ(plot.zeroLine.has_value(), c.zeroLine);
        const auto& marked = c.minusMarked ? plot.minus : plot.plus;
        EXPECT_EQ(plot.mark, marked[c.markRow]);
        for (int i = 0; i < kBacklashSteps; ++i) {
            for (const auto* series : {&plot.plus, &plot.minus}) {
                const ui::Point p = (*series)[i];
                EXPECT_TRUE(Inside(plot.frame, p)) << i;
                // Angles run left to right at an even pace.
                EXPECT_NEAR(p.x - plot.frame.left, (plot.frame.Width() - 1) * 9.0 * i / 360, 0.5);
            }
        }
    }
}

TEST(BacklashPlot, ValuesKeepTheirOrderAndZeroSitsOnItsLine) {
    const Table mixed =
        MakeTable([](int i) { return 0.018 * (i % 5); }, [](int i) { return -0.036 * (i % 3); });
    const BacklashPlotLayout plot = LayOutBacklashPlot(mixed, {}, kArea);
    ASSERT_TRUE(plot.zeroLine);
    EXPECT_EQ(plot.plus[0].y, *plot.zeroLine);    // 0
    EXPECT_LT(plot.plus[4].y, plot.plus[1].y);    // 0.072 above 0.018
    EXPECT_GT(plot.minus[2].y, plot.minus[1].y);  // -0.072 below -0.036
    EXPECT_GT(plot.minus[1].y, *plot.zeroLine);
    const Table zeros{};
    const BacklashPlotLayout flat = LayOutBacklashPlot(zeros, {}, kArea);
    for (const ui::Point& p : flat.plus) EXPECT_EQ(p.y, flat.frame.bottom - 1);
}

// A window too small for a readable picture gets none; the smallest that
// gets one keeps everything inside the area.
TEST(BacklashPlot, SmallWindowsDrawNothingOutside) {
    const Table table =
        MakeTable([](int i) { return 0.018 * i; }, [](int i) { return -0.018 * i; });
    for (const ui::Rect& area : {ui::Rect{0, 0, 0, 0}, ui::Rect{0, 0, 30, 12},
                                 ui::Rect{0, 0, 225, 400}, ui::Rect{0, 0, 400, 123}}) {
        const ui::Chart chart = BacklashChart(LayOutBacklashPlot(table, {}, area));
        EXPECT_TRUE(chart.lines.empty() && chart.markers.empty() && chart.texts.empty());
    }
    for (const ui::Rect& area : {ui::Rect{0, 0, 226, 124}, ui::Rect{10, 20, 700, 500}}) {
        const BacklashPlotLayout plot = LayOutBacklashPlot(table, {351, -0.702}, area);
        ASSERT_FALSE(plot.frame.IsEmpty());
        const ui::Chart chart = BacklashChart(plot);
        for (const ui::ChartLine& line : chart.lines) {
            for (const ui::Point& p : line.points) EXPECT_TRUE(Inside(area, p));
        }
        for (const ui::ChartMarker& m : chart.markers) {
            EXPECT_TRUE(Inside(area, {m.centre.x - m.radius, m.centre.y - m.radius}));
            EXPECT_TRUE(Inside(area, {m.centre.x + m.radius, m.centre.y + m.radius}));
        }
        for (const ui::ChartText& t : chart.texts) EXPECT_TRUE(Inside(area, t.anchor)) << t.text;
    }
}

// Switches the C and C++ locales to a decimal comma for the test's span.
class CommaLocale {
  public:
    CommaLocale() : previous_(std::locale::global(std::locale(std::locale::classic(), new Comma))) {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) break;
        }
    }
    ~CommaLocale() {
        std::setlocale(LC_ALL, "C");
        std::locale::global(previous_);
    }

  private:
    struct Comma : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    std::locale previous_;
};

TEST(BacklashCsv, ExactTextWhateverTheLocale) {
    const BacklashEntry rows[] = {{0, 0, 0}, {9, 0.036, -0.018}, {351, 1.25, -12.3456}};
    const std::string expected =
        "angle_deg,plus_deg,minus_deg\r\n"
        "0.000,0.000,0.000\r\n"
        "9.000,0.036,-0.018\r\n"
        "351.000,1.250,-12.346\r\n";
    EXPECT_EQ(BacklashCsvText(rows), expected);
    const CommaLocale german;
    EXPECT_EQ(BacklashCsvText(rows), expected);
    const Table table{};
    const std::string full = BacklashCsvText(table);
    EXPECT_EQ(std::count(full.begin(), full.end(), '\n'), 41);
}

}  // namespace
}  // namespace hw
