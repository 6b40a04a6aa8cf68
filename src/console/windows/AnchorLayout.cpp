#include "console/windows/AnchorLayout.h"

namespace hw {

ui::Rect AnchoredRect(const LayoutEntry& entry, int dx, int dy) {
    ui::Rect r = entry.rect;
    if (entry.flags & LAYOUT_SIZE_X) {
        r.right += dx;
    } else if (entry.flags & LAYOUT_MOVE_X) {
        r.left += dx;
        r.right += dx;
    }
    if (entry.flags & LAYOUT_SIZE_Y) {
        r.bottom += dy;
    } else if (entry.flags & LAYOUT_MOVE_Y) {
        r.top += dy;
        r.bottom += dy;
    }
    return r;
}

void AnchorLayout::Start(int width, int height) {
    lastWidth_ = width;
    lastHeight_ = height;
}

void AnchorLayout::Add(const LayoutEntry& entry) {
    entries_.push_back(entry);
}

void AnchorLayout::Resize(int width, int height, LayoutTarget& target) {
    if (entries_.empty()) return;
    const int dx = width - lastWidth_;
    const int dy = height - lastHeight_;
    for (LayoutEntry& entry : entries_) {
        if (!target.HasControl(entry.controlId)) continue;
        const ui::Rect moved = AnchoredRect(entry, dx, dy);
        if (moved == entry.rect) continue;
        entry.rect = moved;
        if (!moved.IsEmpty()) target.MoveControl(entry.controlId, moved);
    }
    lastWidth_ = width;
    lastHeight_ = height;
}

}  // namespace hw
