#include "ui/DataExchange.h"

#include <vector>

#include "ui/Controls.h"
#include "ui/Dialog.h"
#include "ui/WindowSystem.h"

namespace hw::ui {

DataExchange::DataExchange(Dialog& dialog, bool saveAndValidate)
    : dialog_(dialog), saveAndValidate_(saveAndValidate) {}

void DataExchange::Control(int id, ui::Control& control) {
    if (failed_) return;
    if (!dialog_.HasItem(id)) {
        Fail();
        return;
    }
    control.Bind(dialog_.windows(), dialog_.window(), id);
}

void DataExchange::Radio(int firstId, int& value) {
    if (failed_) return;
    const std::vector<int> group = dialog_.windows().RadioGroup(dialog_.window(), firstId);
    if (group.empty()) {
        Fail();
        return;
    }
    if (saveAndValidate_) {
        value = -1;
        for (std::size_t i = 0; i < group.size(); ++i) {
            if (dialog_.IsItemChecked(group[i])) {
                value = static_cast<int>(i);
                break;
            }
        }
        return;
    }
    for (std::size_t i = 0; i < group.size(); ++i) {
        dialog_.CheckItem(group[i], static_cast<int>(i) == value);
    }
}

void DataExchange::Text(int id, std::string& value) {
    if (failed_) return;
    if (!dialog_.HasItem(id)) {
        Fail();
        return;
    }
    if (saveAndValidate_) {
        value = dialog_.ItemText(id);
    } else {
        dialog_.SetItemText(id, value);
    }
}

}  // namespace hw::ui
