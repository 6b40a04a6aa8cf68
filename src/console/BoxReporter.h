// The console's reporter: each report a message box captioned with the
// program's name. Failures and warnings stand alone, as the technician may
// meet them in any window; the end and the questions belong to the window
// the procedure runs from.
#pragma once

#include "console/Reporter.h"

namespace hw {

namespace ui {
class Application;
class Dialog;
}  // namespace ui

class BoxReporter final : public Reporter {
  public:
    BoxReporter(ui::Application& app, ui::Dialog& owner) : app(app), owner(owner) {}

    void Error(std::string_view text) override;
    void Warning(std::string_view text) override;
    // As a warning.
    void FileProblem(std::string_view text) override;
    void Information(std::string_view text) override;
    void Completed(std::string_view text) override;
    void Incomplete(std::string_view text) override;
    int Ask(std::string_view question, std::uint32_t style) override;

  private:
    ui::Application& app;
    ui::Dialog& owner;
};

}  // namespace hw
