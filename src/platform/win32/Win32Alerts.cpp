#include "platform/win32/Win32Alerts.h"

#include <windows.h>

namespace hw {

void Win32Alerts::ShowOutOfMemory() {
    MessageBoxA(nullptr, "Out of memory.", caption_.c_str(), MB_ICONSTOP | MB_OK);
}

void Win32Alerts::ReportError(const FrameworkException& error) {
    std::string text = error.ErrorMessage();
    if (text.empty()) text = "No error message is available.";
    MessageBoxA(nullptr, text.c_str(), caption_.c_str(), MB_ICONEXCLAMATION | MB_OK);
}

}  // namespace hw
