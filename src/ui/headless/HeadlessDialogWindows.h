// The headless window system's dialog windows: each built from its template, modal runs that the
// test acts in (OnModal), modeless windows, their titles, states and icons.
#pragma once

#include "ui/DialogWindows.h"
#include "ui/headless/HeadlessDesktop.h"

namespace hw::ui {

class HeadlessDialogWindows final : public DialogWindows {
  public:
    explicit HeadlessDialogWindows(HeadlessDesktop& desktop) : desktop_(desktop) {}

    // --- WindowSystem ------------------------------------------------------
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

  private:
    HeadlessDesktop& desktop_;
};

}  // namespace hw::ui
