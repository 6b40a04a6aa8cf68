// Report, parameter block, serial number, running-time counters and the
// serial-port check.
#include "console/ConsoleDialog.h"

namespace hw {

void ConsoleDialog::OnGetReport() {
    Online();
}
void ConsoleDialog::OnGetParameters() {
    Online();
}
void ConsoleDialog::OnPutParameters() {
    Online();
}
void ConsoleDialog::OnWriteSerialNumber() {
    Online();
}
void ConsoleDialog::OnClearSpindleTime() {
    Online();
}
void ConsoleDialog::OnClearPumpTime() {
    Online();
}
void ConsoleDialog::OnCheckSerialPort() {
    Online();
}

}  // namespace hw
