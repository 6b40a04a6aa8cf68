// The Win32 window system's items of a dialog window: its child controls.
#pragma once

#include "ui/DialogItems.h"

namespace hw::ui {

class Win32Items final : public DialogItems {
  public:
    bool HasItem(WindowId window, int id) const override;
    void SetItemText(WindowId window, int id, std::string_view text) override;
    std::string ItemText(WindowId window, int id) const override;
    void EnableItem(WindowId window, int id, bool enable) override;
    bool IsItemEnabled(WindowId window, int id) const override;
    void ShowItem(WindowId window, int id, bool show) override;
    bool IsItemVisible(WindowId window, int id) const override;
    void CheckItem(WindowId window, int id, bool checked) override;
    bool IsItemChecked(WindowId window, int id) const override;
    void SetItemCheckState(WindowId window, int id, CheckState state) override;
    CheckState ItemCheckState(WindowId window, int id) const override;
    void FocusItem(WindowId window, int id) override;
    std::vector<int> RadioGroup(WindowId window, int firstId) const override;
    void SetProgressRange(WindowId window, int id, int lower, int upper) override;
    void SetProgressPos(WindowId window, int id, int pos) override;
};

}  // namespace hw::ui
