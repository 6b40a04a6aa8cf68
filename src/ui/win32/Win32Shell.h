// The Win32 window system's shell services: message boxes, the common file dialogs, documents
// opened by the shell, system menus and the program's resources.
#pragma once

#include "ui/Shell.h"

namespace hw::ui {

class Win32Shell final : public Shell {
  public:
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
};

}  // namespace hw::ui
