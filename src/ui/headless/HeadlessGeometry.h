// The headless window system's geometry and painting: client areas in pixels at their place on one
// screen, what was invalidated and painted.
#pragma once

#include "ui/WindowGeometry.h"
#include "ui/headless/HeadlessDesktop.h"

namespace hw::ui {

class HeadlessGeometry final : public WindowGeometry {
  public:
    explicit HeadlessGeometry(HeadlessDesktop& desktop) : desktop_(desktop) {}

    Rect ClientRect(WindowId window) const override;
    Rect WindowRect(WindowId window) const override;
    void MoveWindowTo(WindowId window, Point screen) override;
    void PlaceWindow(WindowId window, const Rect& screen) override;
    Rect WorkArea(WindowId) const override { return {0, 0, 1024, 768}; }
    std::optional<Rect> ItemRect(WindowId window, int id) const override;
    void MoveItem(WindowId window, int id, const Rect& rect, bool repaint) override;
    Point ScreenToClient(WindowId window, Point screen) const override;
    void Invalidate(WindowId window, const std::optional<Rect>& rect, bool erase) override;
    Point HorizontalScrollArrow() const override { return {17, 17}; }
    void PaintMinimizedIcon(WindowId window, IconHandle icon) override;
    void PaintSizeGrip(WindowId window, const Rect& rect) override;
    void PaintChart(WindowId window, const Chart& chart) override;
    Size MeasureText(WindowId window, std::string_view text) const override;
    // Headless windows draw no text: fonts do not matter.
    void UseFixedPitchFont(WindowId, int) override {}

  private:
    HeadlessDesktop& desktop_;
};

}  // namespace hw::ui
