#include "console/ProcedureContext.h"

#include "ui/Dialog.h"

namespace hw {

ui::WindowId ProcedureContext::Window() const {
    return window == nullptr ? ui::kNoWindow : window->window();
}

ui::Application& ProcedureContext::App() const {
    return window->app();
}

}  // namespace hw
