#include "console/backlash/BacklashProcedures.h"

#include <algorithm>
#include <memory>
#include <string>

#include "console/ConsoleIds.h"
#include "console/backlash/BacklashCsv.h"
#include "console/backlash/BacklashDialog.h"
#include "console/backlash/BacklashPlotDialog.h"
#include "console/backlash/BacklashTable.h"
#include "console/calibration/FixedDecimal.h"
#include "console/files/OfferedNames.h"
#include "console/windows/ReportDialog.h"
#include "ui/Application.h"
#include "ui/Dialog.h"

namespace hw {

namespace {

std::string AngleLabel(const BacklashMark* mark) {
    return mark == nullptr ? "Angle=--deg" : "Angle=" + FixedText(mark->angle, 1) + "deg";
}

std::string BacklashLabel(const BacklashMark* mark) {
    return mark == nullptr ? "Backlash=--deg" : "Backlash=" + FixedText(mark->backlash, 3) + "deg";
}

}  // namespace

void OfferBacklashTable(ReportDialog& viewer, std::span<const BacklashEntry> rows,
                        const BacklashMark& largest) {
    viewer.SetCaption("Backlash");
    viewer.AddButton({"&Plot", [&viewer, rows, largest](ui::WindowId owner) {
                          BacklashPlotDialog plot(viewer.app(), viewer.Files(), rows, largest);
                          plot.DoModal(owner);
                      }});
    viewer.OfferForm({"CSV (*.csv)|*.csv|", ".csv", [rows] { return BacklashCsvText(rows); }});
}

void BacklashProcedures::EnableGroup(bool enable) {
    if (context.window == nullptr) return;
    for (int item :
         {console_id::kBacklashCheck, console_id::kBacklashDetails, console_id::kBacklashGroup,
          console_id::kBacklashAngle, console_id::kBacklashValue}) {
        context.window->EnableItem(item, enable);
    }
}

void BacklashProcedures::Forget() {
    record = {};
    measured = false;
    ShowLabels(nullptr);
}

void BacklashProcedures::ShowLabels(const BacklashMark* mark) {
    if (context.window == nullptr) return;
    context.window->SetItemText(console_id::kBacklashAngle, AngleLabel(mark));
    context.window->SetItemText(console_id::kBacklashValue, BacklashLabel(mark));
}

// Only a run that completed is kept.
void BacklashProcedures::Check() {
    if (!context.session.RequireOnline(context.reporter)) return;
    if (context.window == nullptr || !context.window->UpdateData(true)) return;
    const auto& services = context.services;
    ui::Application& app = context.App();
    const std::string question = app.shell().LoadStringResource(console_id::kMountEncoderString);
    if (app.ShowMessageBox(question, ui::kMbYesNo | ui::kMbDefButton2) == ui::kIdNo) return;
    PollingPause paused(context.polling);
    const auto run = std::make_shared<BacklashRun>(context.link(), services.link.system);
    BacklashDialog dialog(app, run);
    // Owned by the console, which it keeps disabled; it ends only once its
    // worker has.
    dialog.DoModal(context.Window());

    measured = run->result.valid;
    if (!measured) {
        ShowLabels(nullptr);
        context.log.SetOutcome(run->cancelRequested ? "cancelled by the technician" : "failed");
        return;
    }
    const auto filled = std::clamp<std::int32_t>(run->result.filled, 0, kBacklashSteps);
    std::copy_n(run->result.rows.begin(), filled, record.table.begin());
    record.largest = {run->result.angle, run->result.backlash};
    record.completedAt = services.link.system.Now();
    ShowLabels(&record.largest);
    context.log.SetOutcome("completed: " + AngleLabel(&record.largest) + ", " +
                           BacklashLabel(&record.largest));
}

void BacklashProcedures::ShowDetails() {
    if (context.window == nullptr) return;
    const auto& services = context.services;
    ui::Application& app = context.App();
    if (!measured) {
        app.ShowMessageBox(app.shell().LoadStringResource(console_id::kCheckBacklashFirstString),
                           ui::kMbOk);
        return;
    }
    if (!context.window->UpdateData(true)) return;
    const std::string text = BacklashTableText(record.table);
    ReportDialog dialog(app, services.files, text.c_str());
    OfferBacklashTable(dialog, record.table, record.largest);
    dialog.KeepPlaceIn(viewerPlace);
    dialog.OfferSaveName(
        StampedFileName(context.session.Queue() + " Backlash", services.link.system.Now(), ".txt"));
    dialog.DoModal();
}

}  // namespace hw
