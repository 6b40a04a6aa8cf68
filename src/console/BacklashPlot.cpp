#include "console/BacklashPlot.h"

#include <algorithm>
#include <cmath>

#include "console/FixedDecimal.h"

namespace hw {

namespace {

// Room around the axes' box for the legend and titles (top), the value
// labels (left) and the angle labels with their title (bottom), in pixels;
// a line of the dialog font is taken as at most kTextHeight high.
constexpr int kTextHeight = 14;
constexpr int kMarginLeft = 52;
constexpr int kMarginTop = 2 * kTextHeight;
constexpr int kMarginRight = 14;
constexpr int kMarginBottom = 2 * kTextHeight + 8;
// Below this box size the picture would be unreadable: nothing is drawn.
constexpr int kMinFrameWidth = 160;
constexpr int kMinFrameHeight = 60;
constexpr int kTickLength = 4;
constexpr int kMarkRadius = 5;
constexpr int kPointRadius = 2;
constexpr int kLineWidth = 2;
// The values are drawn this far inside the box, so that a point's marker at
// an end of the scale stays in it.
constexpr int kInset = kPointRadius + 1;

constexpr double kFullTurn = 360;
// The scale of a table without any backlash.
constexpr double kFlatTop = 0.1;
constexpr int kWantedIntervals = 5;

// 1, 2 or 5 times a power of ten, about a fifth of span.
double RoundStep(double span) {
    const double raw = span / kWantedIntervals;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double fraction = raw / power;
    if (fraction <= 1) return power;
    if (fraction <= 2) return 2 * power;
    if (fraction <= 5) return 5 * power;
    return 10 * power;
}

// The value scale: whole steps from below the lowest to above the highest
// value, 0 always included.
struct Scale {
    long long lowIndex = 0;
    long long highIndex = 1;
    double step = 1;
    double Low() const { return static_cast<double>(lowIndex) * step; }
    double High() const { return static_cast<double>(highIndex) * step; }
};

Scale ValueScale(std::span<const BacklashEntry> rows) {
    double low = 0;
    double high = 0;
    for (const BacklashEntry& row : rows) {
        low = std::min({low, row.plusBacklash, row.minusBacklash});
        high = std::max({high, row.plusBacklash, row.minusBacklash});
    }
    if (high - low <= 0) high = kFlatTop;
    Scale scale;
    scale.step = RoundStep(high - low);
    scale.lowIndex = static_cast<long long>(std::floor(low / scale.step));
    scale.highIndex = static_cast<long long>(std::ceil(high / scale.step));
    return scale;
}

int DecimalsOf(double step) {
    return std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
}

class Mapping {
  public:
    Mapping(const ui::Rect& frame, const Scale& scale)
        : frame_{frame.left + kInset, frame.top + kInset, frame.right - kInset,
                 frame.bottom - kInset},
          scale_(scale) {}

    int X(double angle) const {
        return frame_.left +
               static_cast<int>(std::lround(angle / kFullTurn * (frame_.Width() - 1)));
    }
    int Y(double value) const {
        const double share = (value - scale_.Low()) / (scale_.High() - scale_.Low());
        return frame_.bottom - 1 - static_cast<int>(std::lround(share * (frame_.Height() - 1)));
    }
    ui::Point At(double angle, double value) const { return {X(angle), Y(value)}; }

  private:
    ui::Rect frame_;
    Scale scale_;
};

}  // namespace

BacklashPlotLayout LayOutBacklashPlot(std::span<const BacklashEntry> rows,
                                      const BacklashMark& largest, const ui::Rect& area) {
    BacklashPlotLayout layout;
    const ui::Rect frame{area.left + kMarginLeft, area.top + kMarginTop, area.right - kMarginRight,
                         area.bottom - kMarginBottom};
    if (frame.Width() < kMinFrameWidth || frame.Height() < kMinFrameHeight) return layout;
    layout.frame = frame;
    const Scale scale = ValueScale(rows);
    const Mapping map(frame, scale);

    const int angleStep = frame.Width() >= 360 ? 45 : 90;
    for (int angle = 0; angle <= kFullTurn; angle += angleStep)
        layout.angleTicks.push_back({map.X(angle), std::to_string(angle)});
    const int decimals = DecimalsOf(scale.step);
    for (long long i = scale.lowIndex; i <= scale.highIndex; ++i) {
        const double value = static_cast<double>(i) * scale.step;
        layout.valueTicks.push_back({map.Y(value), FixedText(value, decimals)});
    }
    for (const BacklashEntry& row : rows) {
        layout.plus.push_back(map.At(row.angle, row.plusBacklash));
        layout.minus.push_back(map.At(row.angle, row.minusBacklash));
    }
    if (scale.lowIndex < 0 && scale.highIndex > 0) layout.zeroLine = map.Y(0);
    layout.mark = map.At(largest.angle, largest.backlash);
    layout.markLabel =
        FixedText(largest.angle, 1) + "deg, " + FixedText(largest.backlash, 3) + "deg";
    return layout;
}

namespace {

constexpr ui::Colour kInk = ui::Rgb(0, 0, 0);
constexpr ui::Colour kZeroColour = ui::Rgb(150, 150, 150);

void AddSeries(ui::Chart& chart, const std::vector<ui::Point>& points, ui::Colour colour) {
    chart.lines.push_back({colour, kLineWidth, points});
    for (const ui::Point& p : points) chart.markers.push_back({colour, p, kPointRadius, true});
}

void AddAxes(ui::Chart& chart, const BacklashPlotLayout& layout) {
    const ui::Rect& f = layout.frame;
    chart.lines.push_back({kInk,
                           1,
                           {{f.left, f.top},
                            {f.right - 1, f.top},
                            {f.right - 1, f.bottom - 1},
                            {f.left, f.bottom - 1},
                            {f.left, f.top}}});
    for (const PlotTick& tick : layout.angleTicks) {
        chart.lines.push_back(
            {kInk, 1, {{tick.pixel, f.bottom}, {tick.pixel, f.bottom + kTickLength}}});
        chart.texts.push_back(
            {kInk, {tick.pixel, f.bottom + kTickLength}, ui::TextAlign::Centre, tick.label});
    }
    for (const PlotTick& tick : layout.valueTicks) {
        chart.lines.push_back(
            {kInk, 1, {{f.left - kTickLength, tick.pixel}, {f.left, tick.pixel}}});
        chart.texts.push_back({kInk,
                               {f.left - kTickLength - 2, tick.pixel - kTextHeight / 2},
                               ui::TextAlign::Right,
                               tick.label});
    }
    chart.texts.push_back({kInk,
                           {(f.left + f.right) / 2, f.bottom + kTickLength + kTextHeight},
                           ui::TextAlign::Centre,
                           "angle [deg]"});
    chart.texts.push_back({kInk,
                           {f.left - kMarginLeft + 2, f.top - kMarginTop + 2},
                           ui::TextAlign::Left,
                           "backlash [deg]"});
    if (layout.zeroLine)
        chart.lines.push_back(
            {kZeroColour, 1, {{f.left, *layout.zeroLine}, {f.right - 1, *layout.zeroLine}}});
}

// The legend sits above the box's right end: a marker and a name per series.
void AddLegend(ui::Chart& chart, const ui::Rect& f) {
    const int y = f.top - kTextHeight - 2;
    const struct {
        ui::Colour colour;
        const char* name;
        int right;
    } entries[] = {{kPlusColour, "plus", f.right - 60}, {kMinusColour, "minus", f.right}};
    for (const auto& entry : entries) {
        chart.texts.push_back({entry.colour, {entry.right, y}, ui::TextAlign::Right, entry.name});
        chart.markers.push_back({entry.colour, {entry.right - 40, y + kTextHeight / 2}, 3, true});
    }
}

// The mark's label stays inside the box: beside the mark towards the box's
// middle, above it unless it is near the top.
void AddMark(ui::Chart& chart, const BacklashPlotLayout& layout) {
    const ui::Rect& f = layout.frame;
    const ui::Point m = layout.mark;
    chart.markers.push_back({kInk, m, kMarkRadius, false});
    const bool leftHalf = m.x < (f.left + f.right) / 2;
    const int x = leftHalf ? m.x + kMarkRadius + 3 : m.x - kMarkRadius - 3;
    const int y = m.y - kMarkRadius - kTextHeight >= f.top ? m.y - kMarkRadius - kTextHeight
                                                           : m.y + kMarkRadius + 1;
    chart.texts.push_back(
        {kInk, {x, y}, leftHalf ? ui::TextAlign::Left : ui::TextAlign::Right, layout.markLabel});
}

}  // namespace

ui::Chart BacklashChart(const BacklashPlotLayout& layout) {
    ui::Chart chart;
    if (layout.frame.IsEmpty()) return chart;
    AddAxes(chart, layout);
    AddSeries(chart, layout.plus, kPlusColour);
    AddSeries(chart, layout.minus, kMinusColour);
    AddLegend(chart, layout.frame);
    AddMark(chart, layout);
    return chart;
}

}  // namespace hw
