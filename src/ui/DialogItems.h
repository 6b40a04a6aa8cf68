// The window system's items of a dialog window (its child controls): text,
// enabled, visible and check states, focus, radio groups and progress bars.
//
// Items are addressed by their dialog control id within a dialog window. A
// call on a window or item that does not exist does nothing and returns the
// "nothing" value of its result (false, 0, empty).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/Types.h"

namespace hw::ui {

class DialogItems {
  public:
    virtual ~DialogItems() = default;

    virtual bool HasItem(WindowId window, int id) const = 0;
    virtual void SetItemText(WindowId window, int id, std::string_view text) = 0;
    virtual std::string ItemText(WindowId window, int id) const = 0;
    virtual void EnableItem(WindowId window, int id, bool enable) = 0;
    virtual bool IsItemEnabled(WindowId window, int id) const = 0;
    virtual void ShowItem(WindowId window, int id, bool show) = 0;
    virtual bool IsItemVisible(WindowId window, int id) const = 0;
    // Check state of a check box or radio button. IsItemChecked is false
    // for an indeterminate three-state box.
    virtual void CheckItem(WindowId window, int id, bool checked) = 0;
    virtual bool IsItemChecked(WindowId window, int id) const = 0;
    // All three states of a three-state check box (CheckDlgButton,
    // IsDlgButtonChecked); Unchecked for a missing item.
    virtual void SetItemCheckState(WindowId window, int id, CheckState state) = 0;
    virtual CheckState ItemCheckState(WindowId window, int id) const = 0;
    // Moves the keyboard focus to the item.
    virtual void FocusItem(WindowId window, int id) = 0;
    // The radio buttons of the group that starts at firstId, in tab order:
    // firstId and the radio buttons after it up to the next item that starts
    // a group (kWsGroup). Empty when firstId is no radio button.
    virtual std::vector<int> RadioGroup(WindowId window, int firstId) const = 0;
    // Progress bar: range and position.
    virtual void SetProgressRange(WindowId window, int id, int lower, int upper) = 0;
    virtual void SetProgressPos(WindowId window, int id, int pos) = 0;
};

}  // namespace hw::ui
