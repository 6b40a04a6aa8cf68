// Put Parameters: writes a parameter block file into the machine only when it
// fits the machine and differs from what the machine holds, with the
// technician's consent, after the machine's present block has been backed up,
// and reads the block back to prove that the machine holds the file.
#pragma once

#include <string>

#include "console/ProcedureContext.h"
#include "console/parameters/ParameterBlock.h"

namespace hw {

class ParameterRestore {
  public:
    explicit ParameterRestore(const ProcedureContext& context) : context(context) {}

    // The file chosen in the open dialog, then Restore.
    void RestoreChosenFile();
    // Every check and step of the restore for the file at path, each
    // question asked and each end told through the reporter.
    void Restore(const std::string& path);

  private:
    void WriteAndVerify(const ParameterBlock& file, const ParameterBlock& held,
                        const std::string& backup);

    ProcedureContext context;
};

}  // namespace hw
