// The Report dialog: a resizable, read-only viewer of a text with a Save
// button. Its controls follow the window's size through an anchor layout,
// and a size grip in the lowest, rightmost corner of the client area sizes
// the window from that corner.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "console/backlash/BacklashEntry.h"
#include "console/windows/AnchorLayout.h"
#include "platform/FileSystem.h"
#include "ui/Dialog.h"

namespace hw {

namespace report_id {
inline constexpr int kDialog = 129;
inline constexpr int kClose = 2;
inline constexpr int kSave = 1006;
inline constexpr int kText = 1008;
inline constexpr int kPlot = 1009;
}  // namespace report_id

class ReportDialog : public ui::Dialog, private LayoutTarget {
  public:
    // Shows text, up to its NUL. The text stays the creator's and must stay
    // valid until the dialog has closed.
    ReportDialog(ui::Application& app, FileSystem& fileSystem, const char* text);
    ~ReportDialog() override;

    // For the backlash table, before the dialog runs: a "Plot" button beside
    // Save shows its picture, and Save offers CSV too. rows and largest stay
    // the creator's until the dialog has closed.
    void OfferBacklash(std::span<const BacklashEntry> rows, const BacklashMark& largest);
    // The place the viewer opens at, when set, and where it keeps its place
    // and size when it closes: so it stays where the technician put it for
    // the session. The place stays the creator's.
    void KeepPlaceIn(std::optional<ui::Rect>& place) { keptPlace = &place; }
    // The file name Save offers; none until set.
    void OfferSaveName(std::string name) { saveName = std::move(name); }

    const AnchorLayout& Layout() const { return layout; }
    // The size grip in the client area: its lowest, rightmost square.
    ui::Rect GripRect() const;

  protected:
    bool OnInitDialog() override;
    void OnCancel() override;
    std::span<const ui::MessageMapEntry> GetMessageMap() const override;

  private:
    void OnSave();
    void OnPlot();
    void AddPlotButton();
    void OnSize(ui::Size client);
    void OnPaint();
    std::intptr_t OnNcHitTest(ui::Point screen);
    // Answers 1, as the viewer always has; the message carries nothing.
    std::intptr_t OnExitSizeMove(const ui::Message& message);

    bool HasControl(int id) const override;
    void MoveControl(int id, const ui::Rect& rect) override;

    static const ui::MessageMapEntry messageMap[];

    FileSystem& files;
    const char* reportText;
    AnchorLayout layout;
    ui::WindowId layoutWindow = ui::kNoWindow;
    ui::WindowId gripWindow = ui::kNoWindow;
    int gripWidth = 0;
    int gripHeight = 0;
    // Where the grip was last drawn, cleared when the window is sized.
    ui::Rect shownGrip;
    std::span<const BacklashEntry> backlashRows;
    BacklashMark backlashLargest;
    std::string saveName;
    std::optional<ui::Rect>* keptPlace = nullptr;
};

}  // namespace hw
