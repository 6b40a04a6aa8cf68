// The headless window system's list boxes: the lines and selection kept in
// the records of their controls.
#pragma once

#include "ui/ListBoxes.h"
#include "ui/headless/HeadlessDesktop.h"

namespace hw::ui {

class HeadlessListBoxes final : public ListBoxes {
  public:
    explicit HeadlessListBoxes(HeadlessDesktop& desktop) : desktop_(desktop) {}

    void SetListLines(WindowId window, int id, const std::vector<std::string>& lines) override;
    void SelectListLine(WindowId window, int id, int index) override;
    int SelectedListLine(WindowId window, int id) const override;

  private:
    HeadlessDesktop& desktop_;
};

}  // namespace hw::ui
