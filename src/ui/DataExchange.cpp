#include "ui/DataExchange.h"

#include <vector>

#include "ui/Controls.h"
#include "ui/DialogItems.h"

namespace hw::ui {

DataExchange::DataExchange(DialogItems& items, WindowId window, bool saveAndValidate)
    : items_(items), window_(window), saveAndValidate_(saveAndValidate) {}

void DataExchange::Control(int id, ui::Control& control) {
    if (failed_) return;
    if (!items_.HasItem(window_, id)) {
        Fail();
        return;
    }
    control.Bind(items_, window_, id);
}

void DataExchange::Radio(int firstId, int& value) {
    if (failed_) return;
    const std::vector<int> group = items_.RadioGroup(window_, firstId);
    if (group.empty()) {
        Fail();
        return;
    }
    if (saveAndValidate_) {
        value = -1;
        for (std::size_t i = 0; i < group.size(); ++i) {
            if (items_.IsItemChecked(window_, group[i])) {
                value = static_cast<int>(i);
                break;
            }
        }
        return;
    }
    for (std::size_t i = 0; i < group.size(); ++i) {
        items_.CheckItem(window_, group[i], static_cast<int>(i) == value);
    }
}

void DataExchange::Text(int id, std::string& value) {
    if (failed_) return;
    if (!items_.HasItem(window_, id)) {
        Fail();
        return;
    }
    if (saveAndValidate_) {
        value = items_.ItemText(window_, id);
    } else {
        items_.SetItemText(window_, id, value);
    }
}

}  // namespace hw::ui
