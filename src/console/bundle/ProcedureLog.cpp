#include "console/bundle/ProcedureLog.h"

#include "commands/MachineLink.h"

namespace hw {

void ProcedureLog::Run(std::string_view name, const std::function<void()>& procedure) {
    activity.Add(std::string(name) + " started");
    lastBox.reset();
    outcome.reset();
    link.ClearLastFailure();
    procedure();
    if (!outcome) outcome = OutcomeText(lastBox, link.LastFailure());
    activity.Add(std::string(name) + " ended: " + *outcome);
}

void ProcedureLog::Written(std::string_view what) {
    activity.Add("Wrote " + std::string(what));
}

}  // namespace hw
