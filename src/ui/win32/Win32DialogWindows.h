// The Win32 window system's dialog windows: created from the templates linked into the executable,
// run modally or modeless, and their own state.
#pragma once

#include "ui/DialogWindows.h"

namespace hw::ui {

class Win32DialogWindows final : public DialogWindows {
  public:
    int RunModal(Dialog& dialog, WindowId owner) override;
    WindowId CreateModeless(Dialog& dialog, WindowId owner) override;
    bool EndDialog(WindowId window, int result) override;
    bool DestroyWindow(WindowId window) override;
    bool AddButton(WindowId window, int id, const Rect& rect, std::string_view text) override;
    void SetTitle(WindowId window, std::string_view text) override;
    std::string Title(WindowId window) const override;
    void EnableWindow(WindowId window, bool enable) override;
    bool IsWindowEnabled(WindowId window) const override;
    bool IsMinimized(WindowId window) const override;
    void SetIcon(WindowId window, IconHandle icon, bool big) override;
};

}  // namespace hw::ui
