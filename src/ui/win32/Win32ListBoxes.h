// The Win32 window system's list boxes: LISTBOX controls, their lines in
// UTF-16 through the wide messages.
#pragma once

#include "ui/ListBoxes.h"

namespace hw::ui {

class Win32ListBoxes final : public ListBoxes {
  public:
    void SetListLines(WindowId window, int id, const std::vector<std::string>& lines) override;
    void SelectListLine(WindowId window, int id, int index) override;
    int SelectedListLine(WindowId window, int id) const override;
};

}  // namespace hw::ui
