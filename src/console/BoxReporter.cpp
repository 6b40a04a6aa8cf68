#include "console/BoxReporter.h"

#include "ui/Application.h"
#include "ui/Dialog.h"

namespace hw {

void BoxReporter::Error(std::string_view text) {
    app.ShowMessageBox(text, ui::kMbIconHand);
}

void BoxReporter::Warning(std::string_view text) {
    app.ShowMessageBox(text, ui::kMbIconExclamation);
}

void BoxReporter::FileProblem(std::string_view text) {
    Warning(text);
}

void BoxReporter::Information(std::string_view text) {
    app.ShowMessageBox(text, ui::kMbIconInformation);
}

void BoxReporter::Completed(std::string_view text) {
    owner.ShowMessageBox(text, {}, ui::kMbOk);
}

void BoxReporter::Incomplete(std::string_view text) {
    owner.ShowMessageBox(text, {}, ui::kMbOk | ui::kMbIconExclamation);
}

int BoxReporter::Ask(std::string_view question, std::uint32_t style) {
    return owner.ShowMessageBox(question, {}, style);
}

}  // namespace hw
