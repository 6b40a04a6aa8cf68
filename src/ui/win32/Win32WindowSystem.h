// The window system on real Win32 windows: dialogs from the templates linked
// into the executable, their controls, timers, boxes and common dialogs.
#pragma once

#include <cstdint>
#include <map>

#include "ui/WindowSystem.h"

namespace hw::ui {

class Win32WindowSystem final : public WindowSystem {
  public:
    // Registers the common controls (progress bar) once, and hooks the
    // thread's dialog message filter, through which every dialog sees its
    // keystrokes first (Dialog::PreTranslateMessage), in modal loops too.
    Win32WindowSystem();
    // Unhooks the filter and deletes the fonts it made; every window that
    // used them is gone by then.
    ~Win32WindowSystem() override;
    Win32WindowSystem(const Win32WindowSystem&) = delete;
    Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

    int RunModal(Dialog& dialog, WindowId owner) override;
    WindowId CreateModeless(Dialog& dialog, WindowId owner) override;
    bool EndDialog(WindowId window, int result) override;
    bool DestroyWindow(WindowId window) override;
    void SetTitle(WindowId window, std::string_view text) override;
    std::string Title(WindowId window) const override;
    void EnableWindow(WindowId window, bool enable) override;
    bool IsWindowEnabled(WindowId window) const override;
    bool IsMinimized(WindowId window) const override;
    void SetIcon(WindowId window, IconHandle icon, bool big) override;
    bool HasItem(WindowId window, int id) const override;
    void SetItemText(WindowId window, int id, std::string_view text) override;
    std::string ItemText(WindowId window, int id) const override;
    void EnableItem(WindowId window, int id, bool enable) override;
    bool IsItemEnabled(WindowId window, int id) const override;
    void ShowItem(WindowId window, int id, bool show) override;
    bool IsItemVisible(WindowId window, int id) const override;
    void CheckItem(WindowId window, int id, bool checked) override;
    bool IsItemChecked(WindowId window, int id) const override;
    void SetItemCheckState(WindowId window, int id, CheckState state) override;
    CheckState ItemCheckState(WindowId window, int id) const override;
    void FocusItem(WindowId window, int id) override;
    std::vector<int> RadioGroup(WindowId window, int firstId) const override;
    void UseFixedPitchFont(WindowId window, int id) override;
    bool AddButton(WindowId window, int id, const Rect& rect, std::string_view text) override;
    void SetProgressRange(WindowId window, int id, int lower, int upper) override;
    void SetProgressPos(WindowId window, int id, int pos) override;
    Rect ClientRect(WindowId window) const override;
    Rect WindowRect(WindowId window) const override;
    void MoveWindowTo(WindowId window, Point screen) override;
    void PlaceWindow(WindowId window, const Rect& screen) override;
    Rect WorkArea(WindowId window) const override;
    std::optional<Rect> ItemRect(WindowId window, int id) const override;
    void MoveItem(WindowId window, int id, const Rect& rect, bool repaint) override;
    Point ScreenToClient(WindowId window, Point screen) const override;
    void Invalidate(WindowId window, const std::optional<Rect>& rect, bool erase) override;
    Point HorizontalScrollArrow() const override;
    void PaintMinimizedIcon(WindowId window, IconHandle icon) override;
    void PaintSizeGrip(WindowId window, const Rect& rect) override;
    void PaintChart(WindowId window, const Chart& chart) override;
    Size MeasureText(WindowId window, std::string_view text) const override;
    std::intptr_t Send(WindowId window, const Message& message) override;
    bool Post(WindowId window, const Message& message) override;
    std::uintptr_t SetTimer(WindowId window, std::uintptr_t id, std::uint32_t ms) override;
    bool KillTimer(WindowId window, std::uintptr_t id) override;
    void PumpMessages(WindowId dialog) override;
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
    WorkerThread StartThread(std::function<void()> body) override;

  private:
    // The fixed-pitch fonts made for items, by the height, weight and
    // character set they were made for, so that a dialog opened again
    // reuses its font.
    std::map<std::uint64_t, std::uintptr_t> fixedFonts_;
    // The WH_MSGFILTER hook; 0 when it could not be set.
    std::uintptr_t messageFilter_ = 0;
};

}  // namespace hw::ui
