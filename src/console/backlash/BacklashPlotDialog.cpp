#include "console/backlash/BacklashPlotDialog.h"

#include "console/BoxReporter.h"
#include "console/backlash/BacklashCsv.h"
#include "console/files/FileDialogs.h"
#include "console/files/OfferedNames.h"
#include "console/files/SafeTextSave.h"
#include "ui/Application.h"

namespace hw {

namespace {

// Space between the picture and the row of buttons, in pixels.
constexpr int kButtonGap = 4;

ui::FileDialogOptions CsvFileDialog() {
    return FileDialogOptionsFor(false, "CSV (*.csv)|*.csv||", kTextFiles, {}, "csv");
}

}  // namespace

constinit const ui::MessageMapEntry BacklashPlotDialog::messageMap[] = {
    ui::OnCommand<&BacklashPlotDialog::OnSaveCsv>(plot_id::kSaveCsv),
    ui::OnSize<&BacklashPlotDialog::OnSize>(),
    ui::OnPaint<&BacklashPlotDialog::OnPaint>(),
    ui::OnEraseBackground<&BacklashPlotDialog::OnEraseBackground>(),
};

std::span<const ui::MessageMapEntry> BacklashPlotDialog::GetMessageMap() const {
    return messageMap;
}

BacklashPlotDialog::BacklashPlotDialog(ui::Application& app, FileSystem& fileSystem,
                                       std::span<const BacklashEntry> rows,
                                       const BacklashMark& largest)
    : ui::Dialog(app, plot_id::kDialog), files(fileSystem), table(rows), mark(largest) {}

// The buttons keep their distance from the bottom-right corner.
bool BacklashPlotDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    const ui::Rect client = ClientRect();
    layout.Start(client.Width(), client.Height());
    for (const int control : {plot_id::kSaveCsv, plot_id::kClose}) {
        if (const auto rect = ItemRect(control))
            layout.Add({*rect, control, LAYOUT_MOVE_X | LAYOUT_MOVE_Y});
    }
    return true;
}

ui::Rect BacklashPlotDialog::PlotArea() const {
    ui::Rect area = ClientRect();
    if (const auto buttons = ItemRect(plot_id::kClose)) area.bottom = buttons->top - kButtonGap;
    return area;
}

// The picture is laid out afresh for the new size and repainted whole; the
// background is left to the painting, which draws it off screen first, so
// that a resize does not flicker.
void BacklashPlotDialog::OnSize(ui::Size client) {
    Default();
    layout.Resize(client.width, client.height, *this);
    Invalidate(std::nullopt, false);
}

BacklashPlotLayout BacklashPlotDialog::CurrentLayout() const {
    return LayOutBacklashPlot(table, mark, PlotArea(), [this](std::string_view text) {
        return app().geometry().MeasureText(window(), text);
    });
}

void BacklashPlotDialog::OnPaint() {
    app().geometry().PaintChart(window(), BacklashChart(CurrentLayout()));
}

bool BacklashPlotDialog::OnEraseBackground() {
    return true;
}

void BacklashPlotDialog::OnSaveCsv() {
    const auto path = app().ShowFileDialog(CsvFileDialog(), window());
    if (!path) return;
    BoxReporter reporter(app(), *this);
    SaveTextSafely(reporter, files, *path, BacklashCsvText(table));
}

bool BacklashPlotDialog::HasControl(int control) const {
    return HasItem(control);
}

void BacklashPlotDialog::MoveControl(int control, const ui::Rect& rect) {
    MoveItem(control, rect, true);
}

}  // namespace hw
