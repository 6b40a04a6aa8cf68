// A picture made of plain lines, markers and texts in a window's client
// coordinates (pixels), drawn by the window system in one piece.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/Types.h"

namespace hw::ui {

// 0x00BBGGRR, as the system's colour values.
using Colour = std::uint32_t;

constexpr Colour Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}

// A polyline through points, width pixels wide.
struct ChartLine {
    Colour colour = 0;
    int width = 1;
    std::vector<Point> points;
};

// A square of side 2 * radius + 1 around centre, filled or outlined.
struct ChartMarker {
    Colour colour = 0;
    Point centre;
    int radius = 2;
    bool filled = true;
};

enum class TextAlign { Left, Centre, Right };

// One line of text whose top edge lies at anchor.y and whose left edge,
// middle or right edge lies at anchor.x.
struct ChartText {
    Colour colour = 0;
    Point anchor;
    TextAlign align = TextAlign::Left;
    std::string text;
};

// Drawn in this order over a background of its colour filling the client
// area: lines, then markers, then texts.
struct Chart {
    Colour background = Rgb(255, 255, 255);
    std::vector<ChartLine> lines;
    std::vector<ChartMarker> markers;
    std::vector<ChartText> texts;
};

}  // namespace hw::ui
