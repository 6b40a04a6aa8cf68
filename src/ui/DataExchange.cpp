#include "ui/DataExchange.h"

#include <vector>

#include "ui/Controls.h"
#include "ui/WindowSystem.h"

namespace hw::ui {

DataExchange::DataExchange(WindowSystem& windows, WindowId window, bool saveAndValidate)
    : windows_(windows), window_(window), saveAndValidate_(saveAndValidate) {}

void DataExchange::Control(int id, ui::Control& control) {
    if (failed_) return;
    if (!windows_.HasItem(window_, id)) {
        Fail();
        return;
    }
    control.Bind(windows_, window_, id);
}

void DataExchange::Radio(int firstId, int& value) {
    if (failed_) return;
    const std::vector<int> group = windows_.RadioGroup(window_, firstId);
    if (group.empty()) {
        Fail();
        return;
    }
    if (saveAndValidate_) {
        value = -1;
        for (std::size_t i = 0; i < group.size(); ++i) {
            if (windows_.IsItemChecked(window_, group[i])) {
                value = static_cast<int>(i);
                break;
            }
        }
        return;
    }
    for (std::size_t i = 0; i < group.size(); ++i) {
        windows_.CheckItem(window_, group[i], static_cast<int>(i) == value);
    }
}

void DataExchange::Text(int id, std::string& value) {
    if (failed_) return;
    if (!windows_.HasItem(window_, id)) {
        Fail();
        return;
    }
    if (saveAndValidate_) {
        value = windows_.ItemText(window_, id);
    } else {
        windows_.SetItemText(window_, id, value);
    }
}

}  // namespace hw::ui
