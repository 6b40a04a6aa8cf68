// Output File: sends a file unchanged to the machine as a raw print job. A
// firmware file goes only to a machine in its firmware update mode, any
// other file only to a machine ready at its origin, and nothing goes to a
// printer queue that would keep the job instead of printing it.
#pragma once

#include <string>

#include "console/ProcedureContext.h"
#include "platform/files/MemFile.h"

namespace hw {

class FileOutput {
  public:
    explicit FileOutput(const ProcedureContext& context) : context(context) {}

    // The file chosen in the open dialog, then Send.
    void SendChosenFile();
    // Every check and step of sending the file at path, a firmware file
    // confirmed first and its restart proven after; false when nothing was
    // sent, the transfer failed or was stopped, or the machine did not come
    // back, after the box that says why.
    bool Send(const std::string& path);

  private:
    bool Transfer(MemFile& contents, const std::string& name, bool firmware);

    ProcedureContext context;
};

}  // namespace hw
