// The activity log's view of the procedures: each one logged as it starts
// and as it ends, with the outcome it set or else what its last box told,
// and what it wrote into the machine.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "console/bundle/ActivityLog.h"
#include "console/bundle/ProcedureOutcome.h"

namespace hw {

class MachineLink;

class ProcedureLog {
  public:
    ProcedureLog(ActivityLog& activity, MachineLink& link) : activity(activity), link(link) {}

    // Logs "<name> started", runs the procedure, then "<name> ended: " and
    // its outcome: the one it set, or else what its last box tells
    // (OutcomeText, with the link's last failure).
    void Run(std::string_view name, const std::function<void()>& procedure);
    // Each box shown while a procedure runs; the last one tells its end.
    void NoteBox(ShownBox box) { lastBox = std::move(box); }
    // How the running procedure ended, where its boxes do not tell it.
    void SetOutcome(std::string text) { outcome = std::move(text); }
    // A value the running procedure wrote into the machine.
    void Written(std::string_view what);
    // A line that is never dropped from the log (ActivityLog::Keep).
    void Keep(std::string_view text) { activity.Keep(text); }
    void Add(std::string_view text) { activity.Add(text); }
    const ActivityLog& Activity() const { return activity; }

  private:
    ActivityLog& activity;
    MachineLink& link;
    std::optional<ShownBox> lastBox;
    std::optional<std::string> outcome;
};

}  // namespace hw
