#include "ui/headless/HeadlessGeometry.h"

namespace hw::ui {

Rect HeadlessGeometry::ClientRect(WindowId window) const {
    const HeadlessDesktop::WindowState* state = desktop_.Find(window);
    return state == nullptr ? Rect{} : state->client;
}

Rect HeadlessGeometry::WindowRect(WindowId window) const {
    const HeadlessDesktop::WindowState* state = desktop_.Find(window);
    if (state == nullptr) return {};
    const Point at = state->origin;
    return {at.x, at.y, at.x + state->client.Width(), at.y + state->client.Height()};
}

void HeadlessGeometry::MoveWindowTo(WindowId window, Point screen) {
    if (HeadlessDesktop::WindowState* state = desktop_.Find(window)) state->origin = screen;
}

void HeadlessGeometry::PlaceWindow(WindowId window, const Rect& screen) {
    HeadlessDesktop::WindowState* state = desktop_.Find(window);
    if (state == nullptr) return;
    state->origin = {screen.left, screen.top};
    if (screen.Width() != state->client.Width() || screen.Height() != state->client.Height())
        desktop_.Resize(window, screen.Width(), screen.Height());
}

std::optional<Rect> HeadlessGeometry::ItemRect(WindowId window, int id) const {
    const HeadlessDesktop::ControlState* c = desktop_.FindControl(window, id);
    if (c == nullptr) return std::nullopt;
    return c->rect;
}

void HeadlessGeometry::MoveItem(WindowId window, int id, const Rect& rect, bool) {
    if (HeadlessDesktop::ControlState* c = desktop_.FindControl(window, id)) c->rect = rect;
}

Point HeadlessGeometry::ScreenToClient(WindowId window, Point screen) const {
    const HeadlessDesktop::WindowState* state = desktop_.Find(window);
    const Point at = state == nullptr ? kClientOrigin : state->origin;
    return {screen.x - at.x, screen.y - at.y};
}

void HeadlessGeometry::Invalidate(WindowId window, const std::optional<Rect>& rect, bool) {
    if (HeadlessDesktop::WindowState* state = desktop_.Find(window))
        state->invalidated.push_back(rect);
}

void HeadlessGeometry::PaintMinimizedIcon(WindowId window, IconHandle) {
    if (HeadlessDesktop::WindowState* state = desktop_.Find(window)) ++state->paintedIcons;
}

void HeadlessGeometry::PaintSizeGrip(WindowId window, const Rect& rect) {
    if (HeadlessDesktop::WindowState* state = desktop_.Find(window)) state->grips.push_back(rect);
}

// The headless windows have no pixels; what a chart shows is tested on its
// own and on real windows.
void HeadlessGeometry::PaintChart(WindowId, const Chart&) {}

// The 8-point dialog font at 96 dots per inch: 13 pixels a line and, as its
// base unit says, 6 pixels a character at the most.
Size HeadlessGeometry::MeasureText(WindowId, std::string_view text) const {
    return {static_cast<int>(text.size()) * 6, 13};
}

}  // namespace hw::ui
