// Check and Details of the rotary axis backlash group.
#include <algorithm>
#include <memory>
#include <string>

#include "console/ConsoleDialog.h"
#include "console/ConsoleIds.h"
#include "console/backlash/BacklashDialog.h"
#include "console/backlash/BacklashTable.h"
#include "console/calibration/FixedDecimal.h"
#include "console/files/OfferedNames.h"
#include "console/windows/ReportDialog.h"
#include "ui/Application.h"

namespace hw {

namespace id = console_id;

namespace {

void ShowBacklashLabels(ConsoleDialog& console, const BacklashResult* result) {
    if (result == nullptr) {
        console.SetItemText(id::kBacklashAngle, "Angle=--deg");
        console.SetItemText(id::kBacklashValue, "Backlash=--deg");
        return;
    }
    console.SetItemText(id::kBacklashAngle, "Angle=" + FixedText(result->angle, 1) + "deg");
    console.SetItemText(id::kBacklashValue, "Backlash=" + FixedText(result->backlash, 3) + "deg");
}

}  // namespace

// Only a run that completed is copied into the console's table.
void ConsoleDialog::OnCheckBacklash() {
    if (!session.RequireOnline(reporter)) return;
    if (!UpdateData(true)) return;
    const std::string question = services.app.shell().LoadStringResource(id::kMountEncoderString);
    if (services.app.ShowMessageBox(question, ui::kMbYesNo | ui::kMbDefButton2) == ui::kIdNo)
        return;
    Pause();
    const auto run = std::make_shared<BacklashRun>(session.Link(), services.link.system);
    BacklashDialog dialog(services.app, run);
    // Owned by the console, which it keeps disabled; it ends only once its
    // worker has.
    dialog.DoModal(window());

    const bool completed = run->result.valid;
    if (completed) {
        const auto filled = std::clamp<std::int32_t>(run->result.filled, 0, kBacklashSteps);
        std::copy_n(run->result.rows.begin(), filled, backlashTable.begin());
        backlashLargest = {run->result.angle, run->result.backlash};
        backlashCompletedAt = services.link.system.Now();
    }
    ShowBacklashLabels(*this, completed ? &run->result : nullptr);
    backlashMeasured = completed;
    if (completed) {
        log.SetOutcome("completed: " + ItemText(id::kBacklashAngle) + ", " +
                       ItemText(id::kBacklashValue));
    } else {
        log.SetOutcome(run->cancelRequested ? "cancelled by the technician" : "failed");
    }
    Resume();
}

void ConsoleDialog::OnBacklashDetails() {
    if (!backlashMeasured) {
        services.app.ShowMessageBox(
            services.app.shell().LoadStringResource(id::kCheckBacklashFirstString), ui::kMbOk);
        return;
    }
    if (!UpdateData(true)) return;
    const std::string text = BacklashTableText(backlashTable);
    ReportDialog dialog(services.app, services.files, text.c_str());
    dialog.OfferBacklash(backlashTable, backlashLargest);
    dialog.KeepPlaceIn(viewerPlace);
    dialog.OfferSaveName(
        StampedFileName(session.Queue() + " Backlash", services.link.system.Now(), ".txt"));
    dialog.DoModal();
}

}  // namespace hw
