// One run of a dialog's data exchange (UpdateData): DoDataExchange calls
// these in order. After the first failure the remaining calls do nothing and
// UpdateData returns false.
#pragma once

#include <string>

#include "ui/Types.h"

namespace hw::ui {

class Control;
class DialogItems;

class DataExchange {
  public:
    // The exchange with the items of window.
    DataExchange(DialogItems& items, WindowId window, bool saveAndValidate);

    // True: from the controls into the members; false: the other way.
    bool saveAndValidate() const { return saveAndValidate_; }
    bool failed() const { return failed_; }

    // Binds control to item id (both directions). Fails when
    // the dialog has no such item.
    void Control(int id, ui::Control& control);
    // Value is the index of the checked button in the radio group
    // that starts at firstId. Saving: the first checked button's index, -1
    // when none is checked. Loading: checks button value and clears the
    // others (none checked for a value outside the group). Fails when firstId
    // is no radio button.
    void Radio(int firstId, int& value);
    // The item's text and a string member. Fails when the dialog
    // has no such item.
    void Text(int id, std::string& value);
    // Marks the exchange failed (a validation of the dialog's own).
    void Fail() { failed_ = true; }

  private:
    DialogItems& items_;
    WindowId window_;
    bool saveAndValidate_;
    bool failed_ = false;
};

}  // namespace hw::ui
