// The anchor layout of a resizable dialog: each control keeps its own
// rectangle and is moved or stretched by the change of the client size since
// the last layout. Only differences are added, so a layout that shrank to
// nothing comes back exactly when the window grows back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>

#include "ui/Types.h"

namespace hw {

// Anchor flags of a LayoutEntry.
enum LayoutFlags : std::uint32_t {
    LAYOUT_MOVE_X = 0x01,  // left and right follow the width (unless LAYOUT_SIZE_X)
    LAYOUT_MOVE_Y = 0x02,  // top and bottom follow the height (unless LAYOUT_SIZE_Y)
    LAYOUT_SIZE_X = 0x10,  // right follows the width
    LAYOUT_SIZE_Y = 0x20,  // bottom follows the height
};

// One control's record: its rectangle in the client coordinates of the
// window it lies in, its id and its anchors.
struct LayoutEntry {
    ui::Rect rect;
    int controlId = 0;
    std::uint32_t flags = 0;
};

// The rectangle of an entry after the client size changed by dx, dy.
ui::Rect AnchoredRect(const LayoutEntry& entry, int dx, int dy);

// The window whose controls a layout moves.
class LayoutTarget {
  public:
    virtual bool HasControl(int id) const = 0;
    virtual void MoveControl(int id, const ui::Rect& rect) = 0;

  protected:
    ~LayoutTarget() = default;
};

class AnchorLayout {
  public:
    // The client size the entries' rectangles belong to.
    void Start(int width, int height);
    // Appends an entry; entries are laid out in the order they were added.
    void Add(const LayoutEntry& entry);

    std::size_t Count() const { return entries_.size(); }
    const std::list<LayoutEntry>& Entries() const { return entries_; }
    int LastWidth() const { return lastWidth_; }
    int LastHeight() const { return lastHeight_; }

    // Lays the controls out for a new client size. An entry whose control
    // is missing is skipped. A changed rectangle is stored, and the control
    // moved there unless the rectangle is empty (the control then keeps its
    // last place). An empty layout changes nothing, not even the last size.
    void Resize(int width, int height, LayoutTarget& target);

  private:
    std::list<LayoutEntry> entries_;
    int lastWidth_ = 0;
    int lastHeight_ = 0;
};

}  // namespace hw
