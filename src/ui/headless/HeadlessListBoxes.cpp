#include "ui/headless/HeadlessListBoxes.h"

namespace hw::ui {

void HeadlessListBoxes::SetListLines(WindowId window, int id,
                                     const std::vector<std::string>& lines) {
    if (HeadlessDesktop::ControlState* c = desktop_.FindControl(window, id)) {
        c->lines = lines;
        c->selected = -1;
    }
}

// As LB_SETCURSEL: an index outside the lines selects none.
void HeadlessListBoxes::SelectListLine(WindowId window, int id, int index) {
    if (HeadlessDesktop::ControlState* c = desktop_.FindControl(window, id)) {
        const bool inside = index >= 0 && static_cast<std::size_t>(index) < c->lines.size();
        c->selected = inside ? index : -1;
    }
}

int HeadlessListBoxes::SelectedListLine(WindowId window, int id) const {
    const HeadlessDesktop::ControlState* c = desktop_.FindControl(window, id);
    return c == nullptr ? -1 : c->selected;
}

}  // namespace hw::ui
