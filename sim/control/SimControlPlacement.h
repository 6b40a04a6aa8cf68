// Where the demonstration's control window goes so that it and the console
// are both in full view: screen arithmetic only, in pixels.
#pragma once

#include "ui/Types.h"

namespace hw {

// The top left corner for a window of size (x: width, y: height) beside
// anchor within workArea: right of anchor, tops aligned, when it fits there;
// else below anchor, left edges aligned, when it fits there. Where neither
// fits it goes to the work area's right edge, level with anchor's top, and
// covers part of anchor but stays on the screen. In the first two cases the
// window is pushed back up or left as far as needed to stay on the screen.
ui::Point PlaceBeside(const ui::Rect& anchor, ui::Point size, const ui::Rect& workArea);

}  // namespace hw
