// Where the backlash picture's parts go in a client area of a given size:
// the axes' box, round tick values, both series' points, the zero line and
// the largest measurement's mark, with room for the texts as the font
// measures them (so that the picture holds at any screen resolution). Pure
// arithmetic; the window system draws the chart made from it.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "console/backlash/BacklashEntry.h"
#include "ui/Chart.h"

namespace hw {

struct PlotTick {
    int pixel = 0;  // x of an angle tick, y of a value tick
    std::string label;
};

// The extent of a text as one line in the font the picture is drawn in.
using TextMeasure = std::function<ui::Size(std::string_view)>;

// Where one legend entry stands: its name right-aligned at right, its marker
// centred at markerX.
struct PlotLegendEntry {
    int right = 0;
    int markerX = 0;
};

struct BacklashPlotLayout {
    // The axes' box; empty when the area is too small for a readable
    // picture, and then nothing else is laid out.
    ui::Rect frame;
    ui::Rect area;
    int lineHeight = 0;  // of the font's texts
    PlotLegendEntry plusLegend;
    PlotLegendEntry minusLegend;
    std::vector<PlotTick> angleTicks;
    std::vector<PlotTick> valueTicks;  // lowest value first
    std::vector<ui::Point> plus;
    std::vector<ui::Point> minus;
    std::optional<int> zeroLine;  // y of 0 when the values have both signs
    ui::Point mark;
    std::string markLabel;
};

// Lays the rows out in area: angle 0 to 360 degrees left to right, the
// values on a round scale that always holds 0, with largest marked. The
// margins round the box hold the texts as measure finds them.
BacklashPlotLayout LayOutBacklashPlot(std::span<const BacklashEntry> rows,
                                      const BacklashMark& largest, const ui::Rect& area,
                                      const TextMeasure& measure);

// The lines, markers and texts of a laid-out picture, legend and axis
// titles included; only the background when the frame is empty.
ui::Chart BacklashChart(const BacklashPlotLayout& layout);

// The texts of the picture that are not values.
inline constexpr const char* kAngleTitle = "angle [deg]";
inline constexpr const char* kValueTitle = "backlash [deg]";
inline constexpr const char* kPlusName = "plus";
inline constexpr const char* kMinusName = "minus";

// Series colours, so that the picture and its legend agree.
inline constexpr ui::Colour kPlusColour = ui::Rgb(0, 0, 200);
inline constexpr ui::Colour kMinusColour = ui::Rgb(200, 0, 0);

}  // namespace hw
