// The Win32 window system's geometry and painting, and the fixed-pitch fonts it makes for items.
#pragma once

#include <cstdint>
#include <map>

#include "ui/WindowGeometry.h"

namespace hw::ui {

class Win32Geometry final : public WindowGeometry {
  public:
    Rect ClientRect(WindowId window) const override;
    Rect WindowRect(WindowId window) const override;
    void MoveWindowTo(WindowId window, Point screen) override;
    void PlaceWindow(WindowId window, const Rect& screen) override;
    Rect WorkArea(WindowId window) const override;
    std::optional<Rect> ItemRect(WindowId window, int id) const override;
    void MoveItem(WindowId window, int id, const Rect& rect, bool repaint) override;
    Point ScreenToClient(WindowId window, Point screen) const override;
    void Invalidate(WindowId window, const std::optional<Rect>& rect, bool erase) override;
    Point HorizontalScrollArrow() const override;
    void PaintMinimizedIcon(WindowId window, IconHandle icon) override;
    void PaintSizeGrip(WindowId window, const Rect& rect) override;
    void PaintChart(WindowId window, const Chart& chart) override;
    Size MeasureText(WindowId window, std::string_view text) const override;
    void UseFixedPitchFont(WindowId window, int id) override;

  public:
    Win32Geometry() = default;
    // Deletes the fonts it made; every window that used them is gone by then.
    ~Win32Geometry() override;
    Win32Geometry(const Win32Geometry&) = delete;
    Win32Geometry& operator=(const Win32Geometry&) = delete;

  private:
    // The fixed-pitch fonts made for items, by the height, weight and
    // character set they were made for, so that a dialog opened again
    // reuses its font.
    std::map<std::uint64_t, std::uintptr_t> fixedFonts_;
};

}  // namespace hw::ui
