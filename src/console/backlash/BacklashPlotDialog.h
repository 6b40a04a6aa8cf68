// The backlash picture: a resizable window that draws the table's plus and
// minus series against the angle, with the largest measurement marked, and
// saves the table as comma-separated values.
#pragma once

#include <cstdint>
#include <span>

#include "console/backlash/BacklashEntry.h"
#include "console/backlash/BacklashPlot.h"
#include "console/windows/AnchorLayout.h"
#include "platform/files/FileSystem.h"
#include "ui/Dialog.h"

namespace hw {

namespace plot_id {
inline constexpr int kDialog = 138;
inline constexpr int kClose = 2;
inline constexpr int kSaveCsv = 1091;
}  // namespace plot_id

class BacklashPlotDialog : public ui::Dialog, private LayoutTarget {
  public:
    // rows and largest stay the creator's until the dialog has closed.
    BacklashPlotDialog(ui::Application& app, FileSystem& fileSystem,
                       std::span<const BacklashEntry> rows, const BacklashMark& largest);

    // The client area the picture fills: all of it above the buttons.
    ui::Rect PlotArea() const;
    // The picture as the window's current size lays it out.
    BacklashPlotLayout CurrentLayout() const;

  protected:
    bool OnInitDialog() override;
    std::span<const ui::MessageMapEntry> GetMessageMap() const override;

  private:
    void OnSaveCsv();
    void OnSize(ui::Size client);
    void OnPaint();
    bool OnEraseBackground();

    bool HasControl(int id) const override;
    void MoveControl(int id, const ui::Rect& rect) override;

    static const ui::MessageMapEntry messageMap[];

    FileSystem& files;
    std::span<const BacklashEntry> table;
    BacklashMark mark;
    AnchorLayout layout;
};

}  // namespace hw
