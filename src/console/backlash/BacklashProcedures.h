// Check and Details of the rotary axis backlash group: the run in its own
// dialog, and the table of the last run that completed, which this unit
// keeps for the session and hands out read-only.
#pragma once

#include <array>
#include <optional>
#include <span>

#include "console/ProcedureContext.h"
#include "console/backlash/BacklashEntry.h"
#include "platform/device/System.h"
#include "ui/Types.h"

namespace hw {

class ReportDialog;

// What the last completed run left: its table, its largest measurement as
// the labels show it, and when it completed (nullopt: no run completed).
// A later run that fails or is cancelled leaves it.
struct BacklashRecord {
    std::array<BacklashEntry, kBacklashSteps> table{};
    BacklashMark largest;
    std::optional<LocalTime> completedAt;
};

// The viewer made the backlash table's: captioned "Backlash", a "Plot"
// button beside Save shows its picture, and Save offers CSV too. rows stay
// the caller's until the viewer has closed.
void OfferBacklashTable(ReportDialog& viewer, std::span<const BacklashEntry> rows,
                        const BacklashMark& largest);

class BacklashProcedures {
  public:
    // viewerPlace: where the technician last left the text viewer.
    BacklashProcedures(const ProcedureContext& context, std::optional<ui::Rect>& viewerPlace)
        : context(context), viewerPlace(viewerPlace) {}

    // Check: the run, its result in the labels; only a run that completed
    // is kept.
    void Check();
    // Details: the kept table in the viewer, once the last run completed.
    void ShowDetails();
    // The group's controls, usable with a machine whose panel has the dial.
    void EnableGroup(bool enable);
    // Another machine is connected: the kept run and the labels belonged to
    // the one before.
    void Forget();

    const BacklashRecord& Record() const { return record; }

  private:
    // The largest measurement in the labels; nullptr: none.
    void ShowLabels(const BacklashMark* mark);

    ProcedureContext context;
    std::optional<ui::Rect>& viewerPlace;
    BacklashRecord record;
    // The last run completed: Details shows its table.
    bool measured = false;
};

}  // namespace hw
