// Save Service Bundle: the report, the parameter block, what the console
// knows of the machine and the PC, the backlash table of this session and the
// activity log, in one zip archive the technician sends to support.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "console/ProcedureContext.h"
#include "console/backlash/BacklashProcedures.h"
#include "console/bundle/ServiceBundle.h"

namespace hw {

class SafeFileWriter;

class ServiceBundleProcedure {
  public:
    // backlash: the last completed backlash run, read as the bundle is made.
    ServiceBundleProcedure(const ProcedureContext& context, const BacklashRecord& backlash)
        : context(context), backlash(backlash) {}

    // The file chosen in the save-as dialog, then the bundle saved there.
    void SaveChosenFile();
    // The bundle read from the machine and written to path the safe way, each
    // step shown in the progress window when there is a window; "Completed"
    // and the path, the parts left out, or the box that says why nothing was
    // saved. False when nothing was saved.
    bool Save(const std::string& path);

  private:
    bool Save(const std::string& path, const LocalTime& when);
    // status shows each step and serves the progress window; leftOut gets
    // one line for each part left out, saying why.
    std::vector<BundleMember> ReadMembers(const std::function<void(std::string_view)>& status,
                                          std::string& leftOut);
    std::string MachineText();
    // Builds the archive and writes it through out; false, after the box
    // that says why, when either fails.
    bool Write(SafeFileWriter& out, const std::vector<BundleMember>& members,
               const LocalTime& when);

    ProcedureContext context;
    const BacklashRecord& backlash;
};

}  // namespace hw
