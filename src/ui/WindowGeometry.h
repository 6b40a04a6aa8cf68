// The window system's geometry and painting: where windows and their items
// lie, in pixels, what needs painting again, and the painting a WM_PAINT
// handler does (a minimised window's icon, a size grip, a chart, text
// extents and the fixed-pitch font of an item).
//
// Items are addressed by their dialog control id within a dialog window. A
// call on a window or item that does not exist does nothing and returns the
// "nothing" value of its result (false, 0, empty).
#pragma once

#include <optional>
#include <string_view>

#include "ui/Chart.h"
#include "ui/Types.h"

namespace hw::ui {

class WindowGeometry {
  public:
    virtual ~WindowGeometry() = default;

    // The window's rectangle on the screen, frame included (GetWindowRect);
    // empty when there is no such window.
    virtual Rect WindowRect(WindowId window) const = 0;
    // Moves the window's top left corner to a screen point; its size, its
    // place in the Z order and the activation stay (SetWindowPos).
    virtual void MoveWindowTo(WindowId window, Point screen) = 0;
    // Moves and sizes the window to a screen rectangle, frame included; its
    // place in the Z order and the activation stay (SetWindowPos). A new
    // size reaches the dialog as WM_SIZE with its new client size.
    virtual void PlaceWindow(WindowId window, const Rect& screen) = 0;
    // The work area (the screen without the task bar) of the monitor that
    // shows most of the window, or of the nearest one.
    virtual Rect WorkArea(WindowId window) const = 0;
    // The window's client area; left and top are 0.
    virtual Rect ClientRect(WindowId window) const = 0;
    // The item's window rectangle in the dialog's client coordinates
    // (GetWindowRect, then ScreenToClient of both corners).
    virtual std::optional<Rect> ItemRect(WindowId window, int id) const = 0;
    // Moves and sizes the item to rect (client coordinates of the dialog).
    // With repaint the item is drawn anew at its new place and the place it
    // left is drawn again; without it nothing is redrawn.
    virtual void MoveItem(WindowId window, int id, const Rect& rect, bool repaint) = 0;
    // Screen to client coordinates of window.
    virtual Point ScreenToClient(WindowId window, Point screen) const = 0;
    // Invalidates rect (nullopt: the whole client area).
    virtual void Invalidate(WindowId window, const std::optional<Rect>& rect, bool erase) = 0;
    // The arrow of a horizontal scroll bar: x its width (SM_CXHSCROLL), y its
    // height (SM_CYHSCROLL); 0 for what the system does not tell. The size
    // of a size grip.
    virtual Point HorizontalScrollArrow() const = 0;
    // Paints a minimised window: WM_ICONERASEBKGND with the paint DC, then
    // the icon at ((client width - icon width + 1) / 2, (client height -
    // icon height + 1) / 2).
    virtual void PaintMinimizedIcon(WindowId window, IconHandle icon) = 0;
    // Paints the size grip (DFC_SCROLL, DFCS_SCROLLSIZEGRIP) into rect.
    virtual void PaintSizeGrip(WindowId window, const Rect& rect) = 0;
    // Paints chart over the whole client area (child windows excepted),
    // composed off screen and shown in one copy, so that nothing flickers.
    // Nothing is drawn outside the client area.
    virtual void PaintChart(WindowId window, const Chart& chart) = 0;
    // The extent of text as one line in the window's font, the font its
    // charts are drawn in, on the screen's resolution; an empty text is one
    // line high and no pixel wide.
    virtual Size MeasureText(WindowId window, std::string_view text) const = 0;
    // Shows the item's text in a fixed-pitch font ("Courier New", else the
    // system's fixed font) with the height, weight and character set of the
    // font it has; the item keeps its place and size. The font lives as long
    // as the window system.
    virtual void UseFixedPitchFont(WindowId window, int id) = 0;
};

}  // namespace hw::ui
