// What follows a firmware image the machine has taken: the machine restarts,
// goes from the bus and comes back. The console waits for that, with the
// progress window served meanwhile, reconnects, reads the firmware text
// again and compares the machine's parameter block with the one it saved of
// this machine last, so that a block the update changed is seen at once.
#pragma once

#include <string>

#include "console/ProcedureContext.h"

namespace hw {

class ProgressDialog;

// How long the machine may take to go and come back.
inline constexpr std::uint32_t kRestartLimitMs = 60000;

// Waits for the restart; progress (none on the command line) shows the wait.
// Reports "Completed" with the firmware text before (firmwareBefore) and now
// and how the parameter block compares, and returns true; a machine that is
// not back in time gets a warning that says what to do, and false.
bool ProveFirmwareRestart(const ProcedureContext& context, ProgressDialog* progress,
                          const std::string& firmwareBefore);

// How the machine's parameter block compares with the one the console saved
// of it last: in this run (Get Parameters, a restore's backup), else the
// newest backup of its queue. Empty when none was saved.
std::string SavedBlockComparison(const ProcedureContext& context);

}  // namespace hw
