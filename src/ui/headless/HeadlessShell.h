// The headless window system's shell services: boxes and file dialogs recorded and answered as the
// test arranged, documents recorded, system menus, the resource script's strings and icons.
#pragma once

#include "ui/Shell.h"
#include "ui/headless/HeadlessDesktop.h"

namespace hw::ui {

class HeadlessShell final : public Shell {
  public:
    explicit HeadlessShell(HeadlessDesktop& desktop) : desktop_(desktop) {}

    int ShowMessageBox(WindowId owner, std::string_view text, std::string_view caption,
                       std::uint32_t style) override;
    std::optional<std::string> ShowFileDialog(WindowId owner,
                                              const FileDialogOptions& options) override;
    bool OpenDocument(WindowId owner, const std::string& path) override;
    bool HasSystemMenu(WindowId window) const override;
    void AppendSystemMenuSeparator(WindowId window) override;
    void AppendSystemMenuItem(WindowId window, int commandId, std::string_view text) override;
    std::string LoadStringResource(int id) const override;
    IconHandle LoadIconResource(int id) const override;

  private:
    // Runs a box or file dialog owned by owner: owner is disabled while it
    // is up, as Windows disables it, and enabled again after.
    template <class Body>
    auto RunOwned(WindowId owner, Body body);

    HeadlessDesktop& desktop_;
};

}  // namespace hw::ui
