#include "console/backlash/BacklashPlot.h"

#include <algorithm>
#include <cmath>

#include "console/calibration/FixedDecimal.h"

namespace hw {

namespace {

// Pixels between a text and what it labels or stands beside.
constexpr int kGap = 2;
// Room right of the box when its last angle label needs less.
constexpr int kMinMarginRight = 14;
// Below this box size the picture would be unreadable: nothing is drawn.
constexpr int kMinFrameWidth = 160;
constexpr int kMinFrameHeight = 60;
constexpr int kTickLength = 4;
constexpr int kLegendMarkerRadius = 3;
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

std::vector<std::string> ValueLabels(const Scale& scale) {
    std::vector<std::string> labels;
    const int decimals = DecimalsOf(scale.step);
    for (long long i = scale.lowIndex; i <= scale.highIndex; ++i)
        labels.push_back(FixedText(static_cast<double>(i) * scale.step, decimals));
    return labels;
}

// The box inside area, leaving room for the texts: the value title and the
// legend above it, the widest value label left of it, half the last angle
// label right of it, and the angle labels and their title below it.
ui::Rect FrameFor(const ui::Rect& area, const std::vector<std::string>& valueLabels,
                  const TextMeasure& measure, int lineHeight) {
    int widest = 0;
    for (const std::string& label : valueLabels) widest = std::max(widest, measure(label).width);
    const int left = widest + kTickLength + 2 * kGap;
    const int top = 2 * (lineHeight + kGap);
    const int right = std::max(kMinMarginRight, measure("360").width / 2 + kGap);
    const int bottom = kTickLength + 2 * lineHeight + kGap;
    return {area.left + left, area.top + top, area.right - right, area.bottom - bottom};
}

// Every 45 degrees when those labels stand apart, else every 90.
int AngleStep(const ui::Rect& frame, const TextMeasure& measure) {
    const int room = (frame.Width() - 1) / 8;
    return measure("360").width + 2 * kGap <= room ? 45 : 90;
}

// The legend above the box's right end: "minus" at the end, "plus" before
// it, each name with its marker before it.
void PlaceLegend(BacklashPlotLayout& layout, const TextMeasure& measure) {
    const int marker = 2 * kLegendMarkerRadius + 1;
    const auto entryAt = [&](int right, const char* name) {
        return PlotLegendEntry{right, right - measure(name).width - kGap - marker / 2 - 1};
    };
    layout.minusLegend = entryAt(layout.frame.right, kMinusName);
    layout.plusLegend = entryAt(layout.minusLegend.markerX - marker / 2 - 3 * kGap, kPlusName);
}

}  // namespace

BacklashPlotLayout LayOutBacklashPlot(std::span<const BacklashEntry> rows,
                                      const BacklashMark& largest, const ui::Rect& area,
                                      const TextMeasure& measure) {
    BacklashPlotLayout layout;
    const Scale scale = ValueScale(rows);
    const std::vector<std::string> labels = ValueLabels(scale);
    const int lineHeight = measure("").height;
    const ui::Rect frame = FrameFor(area, labels, measure, lineHeight);
    if (frame.Width() < kMinFrameWidth || frame.Height() < kMinFrameHeight) return layout;
    layout.frame = frame;
    layout.area = area;
    layout.lineHeight = lineHeight;
    const Mapping map(frame, scale);

    const int angleStep = AngleStep(frame, measure);
    for (int angle = 0; angle <= kFullTurn; angle += angleStep)
        layout.angleTicks.push_back({map.X(angle), std::to_string(angle)});
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const double value =
            static_cast<double>(scale.lowIndex + static_cast<long long>(i)) * scale.step;
        layout.valueTicks.push_back({map.Y(value), labels[i]});
    }
    PlaceLegend(layout, measure);
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
                               {f.left - kTickLength - kGap, tick.pixel - layout.lineHeight / 2},
                               ui::TextAlign::Right,
                               tick.label});
    }
    chart.texts.push_back({kInk,
                           {(f.left + f.right) / 2, f.bottom + kTickLength + layout.lineHeight},
                           ui::TextAlign::Centre,
                           kAngleTitle});
    chart.texts.push_back(
        {kInk, {layout.area.left + kGap, layout.area.top}, ui::TextAlign::Left, kValueTitle});
    if (layout.zeroLine)
        chart.lines.push_back(
            {kZeroColour, 1, {{f.left, *layout.zeroLine}, {f.right - 1, *layout.zeroLine}}});
}

// The legend sits above the box's right end: a marker and a name per series.
void AddLegend(ui::Chart& chart, const BacklashPlotLayout& layout) {
    const int y = layout.frame.top - layout.lineHeight - kGap;
    const struct {
        ui::Colour colour;
        const char* name;
        PlotLegendEntry place;
    } entries[] = {{kPlusColour, kPlusName, layout.plusLegend},
                   {kMinusColour, kMinusName, layout.minusLegend}};
    for (const auto& entry : entries) {
        chart.texts.push_back(
            {entry.colour, {entry.place.right, y}, ui::TextAlign::Right, entry.name});
        chart.markers.push_back({entry.colour,
                                 {entry.place.markerX, y + layout.lineHeight / 2},
                                 kLegendMarkerRadius,
                                 true});
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
    const int above = m.y - kMarkRadius - layout.lineHeight;
    const int y = above >= f.top ? above : m.y + kMarkRadius + 1;
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
    AddLegend(chart, layout);
    AddMark(chart, layout);
    return chart;
}

}  // namespace hw
