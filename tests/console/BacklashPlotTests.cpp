// The backlash picture's geometry for a client size, and the table as
// comma-separated values.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <clocale>
#include <locale>
#include <string>
#include <vector>

#include "console/backlash/BacklashCsv.h"
#include "console/backlash/BacklashPlot.h"

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

// The dialog font (8 points) as a screen of dpi dots per inch measures it:
// 13 pixels a line and 6 a character at 96, in proportion elsewhere.
TextMeasure FontAt(int dpi) {
    return [dpi](std::string_view text) {
        return ui::Size{static_cast<int>(text.size()) * ((6 * dpi + 48) / 96),
                        (13 * dpi + 48) / 96};
    };
}
const TextMeasure kFont = FontAt(96);

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
        bool minusMarked;  // the mark and, at row 0, a value of 0 in minus
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
        {"hump", hump, {117, 0.216}, 13, true, {"0.0", "0.1", "0.2", "0.3"}, false},
        {"mixed", mixed, {18, -0.072}, 2, true, {"-0.10", "-0.05", "0.00", "0.05", "0.10"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const BacklashPlotLayout plot = LayOutBacklashPlot(c.table, c.largest, kArea, kFont);
        ASSERT_FALSE(plot.frame.IsEmpty());
        std::vector<std::string> labels;
        for (const PlotTick& tick : plot.valueTicks) labels.push_back(tick.label);
        EXPECT_EQ(labels, c.ticks);
        const auto& marked = c.minusMarked ? plot.minus : plot.plus;
        // Ticks and points share the scale: the 0 tick is level with a 0 value.
        const auto zeroTick =
            std::find_if(plot.valueTicks.begin(), plot.valueTicks.end(),
                         [](const PlotTick& t) { return std::stod(t.label) == 0; });
        ASSERT_NE(zeroTick, plot.valueTicks.end());
        EXPECT_EQ(zeroTick->pixel, marked[0].y);
        if (c.zeroLine) {
            EXPECT_EQ(plot.zeroLine, zeroTick->pixel);
        }
        EXPECT_EQ(plot.zeroLine.has_value(), c.zeroLine);
        for (std::size_t t = 1; t < plot.valueTicks.size(); ++t)
            EXPECT_LT(plot.valueTicks[t].pixel, plot.valueTicks[t - 1].pixel);
        EXPECT_EQ(plot.mark, marked[c.markRow]);
        const int left = plot.angleTicks.front().pixel;
        const int span = plot.angleTicks.back().pixel - left;  // 0 to 360 degrees
        EXPECT_EQ(plot.angleTicks.back().label, "360");
        const ui::Rect inner{plot.frame.left + 2, plot.frame.top + 2, plot.frame.right - 2,
                             plot.frame.bottom - 2};
        for (int i = 0; i < kBacklashSteps; ++i) {
            for (const auto* series : {&plot.plus, &plot.minus}) {
                const ui::Point p = (*series)[i];
                EXPECT_TRUE(Inside(inner, p)) << i;  // a point's marker stays in the box
                EXPECT_NEAR(p.x - left, span * 9.0 * i / 360, 0.5) << i;
            }
        }
    }
}

TEST(BacklashPlot, ValuesKeepTheirOrderAndAFlatTableLiesOnTheScale) {
    const Table mixed =
        MakeTable([](int i) { return 0.018 * (i % 5); }, [](int i) { return -0.036 * (i % 3); });
    const BacklashPlotLayout plot = LayOutBacklashPlot(mixed, {}, kArea, kFont);
    ASSERT_TRUE(plot.zeroLine);
    EXPECT_LT(plot.plus[4].y, plot.plus[1].y);    // 0.072 above 0.018
    EXPECT_GT(plot.minus[2].y, plot.minus[1].y);  // -0.072 below -0.036
    EXPECT_GT(plot.minus[1].y, *plot.zeroLine);
    const Table zeros{};
    const BacklashPlotLayout flat = LayOutBacklashPlot(zeros, {}, kArea, kFont);
    for (const ui::Point& p : flat.plus) EXPECT_EQ(p.y, flat.valueTicks.front().pixel);
}

// A window too small for a readable picture gets none; the smallest that
// gets one keeps everything inside the area.
TEST(BacklashPlot, SmallWindowsDrawNothingOutside) {
    const Table table =
        MakeTable([](int i) { return 0.018 * i; }, [](int i) { return -0.018 * i; });
    for (const ui::Rect& area : {ui::Rect{0, 0, 0, 0}, ui::Rect{0, 0, 30, 12},
                                 ui::Rect{0, 0, 205, 400}, ui::Rect{0, 0, 400, 121}}) {
        const ui::Chart chart = BacklashChart(LayOutBacklashPlot(table, {}, area, kFont));
        EXPECT_TRUE(chart.lines.empty() && chart.markers.empty() && chart.texts.empty());
    }
    for (const ui::Rect& area : {ui::Rect{0, 0, 206, 122}, ui::Rect{10, 20, 700, 500}}) {
        const BacklashPlotLayout plot = LayOutBacklashPlot(table, {351, -0.702}, area, kFont);
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

// Where a text of the chart lies, as the font measures it.
ui::Rect TextRect(const ui::ChartText& t, const TextMeasure& measure) {
    const ui::Size size = measure(t.text);
    const int left = t.align == ui::TextAlign::Left     ? t.anchor.x
                     : t.align == ui::TextAlign::Centre ? t.anchor.x - size.width / 2
                                                        : t.anchor.x - size.width;
    return {left, t.anchor.y, left + size.width, t.anchor.y + size.height};
}

bool Overlap(const ui::Rect& a, const ui::Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// At every usual screen resolution, in a window that grows with it, each
// text is whole inside the area, clear of every other text and of the box.
TEST(BacklashPlot, TextsKeepClearOfEachOtherAndOfTheBoxAtEveryResolution) {
    const Table table =
        MakeTable([](int i) { return 0.0125 * (i % 9); }, [](int i) { return -0.0125 * (i % 11); });
    for (const int dpi : {96, 120, 144, 192}) {
        SCOPED_TRACE(dpi);
        const TextMeasure font = FontAt(dpi);
        const ui::Rect area{0, 0, 440 * dpi / 96, 260 * dpi / 96};
        const BacklashPlotLayout plot = LayOutBacklashPlot(table, {207, -0.125}, area, font);
        ASSERT_FALSE(plot.frame.IsEmpty());
        EXPECT_EQ(plot.valueTicks.front().label, "-0.15");
        const ui::Chart chart = BacklashChart(plot);
        for (std::size_t i = 0; i < chart.texts.size(); ++i) {
            const ui::Rect r = TextRect(chart.texts[i], font);
            const std::string& text = chart.texts[i].text;
            EXPECT_TRUE(area.left <= r.left && r.right <= area.right && area.top <= r.top &&
                        r.bottom <= area.bottom)
                << text;
            if (text != plot.markLabel) {
                EXPECT_FALSE(Overlap(r, plot.frame)) << text;
            }
            for (std::size_t j = i + 1; j < chart.texts.size(); ++j) {
                EXPECT_FALSE(Overlap(r, TextRect(chart.texts[j], font)))
                    << text << " / " << chart.texts[j].text;
            }
        }
    }
}

// Switches the C and C++ locales to a decimal comma for the test's span. The
// C locale is the system's German one (scripts/install-deps.sh makes it).
class CommaLocale {
  public:
    CommaLocale() : previous_(std::locale::global(std::locale(std::locale::classic(), new Comma))) {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                systemComma = true;
                break;
            }
        }
    }
    ~CommaLocale() {
        std::setlocale(LC_ALL, "C");
        std::locale::global(previous_);
    }

    // True when the C library's locale was switched too.
    bool systemComma = false;

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
    ASSERT_TRUE(german.systemComma) << "no German locale: run scripts/install-deps.sh";
    EXPECT_EQ(BacklashCsvText(rows), expected);
    const Table table{};
    const std::string full = BacklashCsvText(table);
    EXPECT_EQ(std::count(full.begin(), full.end(), '\n'), 41);
}

}  // namespace
}  // namespace hw
