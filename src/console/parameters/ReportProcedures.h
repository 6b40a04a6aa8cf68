// Report, Get Parameters, the serial number, the running-time counters and
// the serial-port check. Each read or write step runs without a window (the
// command line calls them); the console adds the viewer and the file dialog.
#pragma once

#include <optional>
#include <string>

#include "console/ProcedureContext.h"
#include "ui/Controls.h"
#include "ui/Types.h"

namespace hw {

namespace ui {
class DataExchange;
}

class ReportProcedures {
  public:
    // viewerPlace: where the technician last left the text viewer, kept by
    // the console for the session.
    ReportProcedures(const ProcedureContext& context, std::optional<ui::Rect>& viewerPlace)
        : context(context), viewerPlace(viewerPlace) {}

    // The serial number edit.
    void Exchange(ui::DataExchange& dx);

    // Get Report: the machine's report in the text viewer.
    void ShowReport();
    // The machine's report text; nullopt after "error".
    std::optional<std::string> ReadReport();
    // Get Parameters: the block saved to a file the technician chooses.
    void SaveParametersAs();
    // The block read and written to path the safe way (a failed read never
    // destroys a good backup nor leaves a truncated one); "Completed" or the
    // box that says why not. False when it was not saved.
    bool SaveParameters(const std::string& path);
    void WriteSerialNumber();
    void ClearSpindleTime();
    void ClearPumpTime();
    void CheckSerialPort();

  private:
    void ClearCounter(std::string_view prompt, bool (MachineLink::*clear)());

    ProcedureContext context;
    std::optional<ui::Rect>& viewerPlace;
    ui::EditControl serialNumber;
};

}  // namespace hw
