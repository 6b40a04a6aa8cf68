// Output File: sends a file unchanged to the machine as a raw print job. A
// firmware file goes only to a machine in its firmware update mode, any
// other file only to a machine ready at its origin, and nothing goes to a
// printer queue that would keep the job instead of printing it.
#pragma once

#include <string>

#include "console/ProcedureContext.h"

namespace hw {

class FileOutput {
  public:
    explicit FileOutput(const ProcedureContext& context) : context(context) {}

    // The file chosen in the open dialog, then Send.
    void SendChosenFile();
    // Every check and step of sending the file at path; false when nothing
    // was sent or the transfer failed, after the box that says why.
    bool Send(const std::string& path);

  private:
    ProcedureContext context;
};

}  // namespace hw
