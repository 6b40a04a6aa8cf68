// What the console reads from the machine to show it: the live sensor
// labels, the spindle's temperature and current, and the panel check.
#pragma once

#include "console/ProcedureContext.h"

namespace hw {

class MachineReadouts {
  public:
    explicit MachineReadouts(const ProcedureContext& context) : context(context) {}

    // The sensor labels are live only while connected; offline they keep
    // their last texts, drawn grey.
    void EnableSensorLabels(bool enable);
    // Another machine is connected: the sensor and spindle labels show no
    // reading until it is read.
    void Forget();
    // One sensor tick: the labels from a whole read; a short or failed read
    // leaves them as they were. False when the read timed out: the machine
    // is not answering.
    bool ShowSensors();
    // Read (spindle): a value that was not read leaves its label blank;
    // when the meter channel cannot be selected neither label changes.
    void ReadSpindle();
    // The panel check in its own window, the sensor polling paused.
    void CheckPanel();

  private:
    ProcedureContext context;
};

}  // namespace hw
