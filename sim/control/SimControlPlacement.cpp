#include "sim/control/SimControlPlacement.h"

#include <algorithm>

namespace hw {

namespace {

// The start of a span of length within [low, high): at from, pulled back so
// that it ends by high, but never before low.
int Fit(int from, int length, int low, int high) {
    return std::max(low, std::min(from, high - length));
}

}  // namespace

ui::Point PlaceBeside(const ui::Rect& anchor, ui::Point size, const ui::Rect& workArea) {
    const bool tallEnough = size.y <= workArea.Height();
    const bool wideEnough = size.x <= workArea.Width();
    const int levelWithAnchor = Fit(anchor.top, size.y, workArea.top, workArea.bottom);
    if (tallEnough && anchor.right + size.x <= workArea.right) {
        return {anchor.right, levelWithAnchor};
    }
    if (wideEnough && anchor.bottom + size.y <= workArea.bottom) {
        return {Fit(anchor.left, size.x, workArea.left, workArea.right), anchor.bottom};
    }
    return {std::max(workArea.left, workArea.right - size.x), levelWithAnchor};
}

}  // namespace hw
