// The headless window system's items of a dialog window: the records of its controls.
#pragma once

#include "ui/DialogItems.h"
#include "ui/headless/HeadlessDesktop.h"

namespace hw::ui {

class HeadlessItems final : public DialogItems {
  public:
    explicit HeadlessItems(HeadlessDesktop& desktop) : desktop_(desktop) {}

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

  private:
    HeadlessDesktop& desktop_;
};

}  // namespace hw::ui
