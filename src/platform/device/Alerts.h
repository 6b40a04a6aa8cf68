// The two messages the link and command layers may show: the out-of-memory
// box and a file object exception's own error report.
#pragma once

#include <string>
#include <string_view>

#include "platform/files/FileErrors.h"

namespace hw {

// The error report of an exception that has no text of its own.
inline constexpr std::string_view kNoErrorMessage = "No error message is available.";

// The text an error report shows for the exception: its own, or
// kNoErrorMessage when it has none.
inline std::string ErrorReportText(const FrameworkException& error) {
    std::string text = error.ErrorMessage();
    return text.empty() ? std::string(kNoErrorMessage) : text;
}

class Alerts {
  public:
    virtual ~Alerts() = default;

    // The standard out-of-memory message box.
    virtual void ShowOutOfMemory() = 0;

    // The exception's error report (ErrorReportText) in a box with an OK
    // button.
    virtual void ReportError(const FrameworkException& error) = 0;
};

}  // namespace hw
