// The live sensor labels and the panel check.
#include "console/ConsoleDialog.h"

namespace hw {

std::intptr_t ConsoleDialog::OnTimer(const ui::Message& message) {
    return Default(message);
}

void ConsoleDialog::OnCheckPanel() {
    Online();
}

}  // namespace hw
