// The window system's list boxes of a dialog window: their lines and the
// line selected. A call on a window or list box that does not exist does
// nothing and returns -1 for the selection.
#pragma once

#include <string>
#include <vector>

#include "ui/Types.h"

namespace hw::ui {

class ListBoxes {
  public:
    virtual ~ListBoxes() = default;

    // The list box's lines replaced (no line selected then), the line
    // selected (-1: none), and the selected line's index (-1: none).
    virtual void SetListLines(WindowId window, int id, const std::vector<std::string>& lines) = 0;
    virtual void SelectListLine(WindowId window, int id, int index) = 0;
    virtual int SelectedListLine(WindowId window, int id) const = 0;
};

}  // namespace hw::ui
