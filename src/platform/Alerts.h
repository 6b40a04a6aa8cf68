// The two messages the link and command layers may show: the out-of-memory
// box and a file object exception's own error report.
#pragma once

#include "platform/FileErrors.h"

namespace hw {

class Alerts {
  public:
    virtual ~Alerts() = default;

    // The standard out-of-memory message box.
    virtual void ShowOutOfMemory() = 0;

    // The exception's error report in a box with an OK button; the text
    // "No error message is available." when the exception has none.
    virtual void ReportError(const FrameworkException& error) = 0;
};

}  // namespace hw
