// The out-of-memory box and the file error report as Win32 message boxes.
#pragma once

#include <string>
#include <utility>

#include "platform/Alerts.h"

namespace hw {

class Win32Alerts final : public Alerts {
  public:
    // caption: the application name that the boxes carry.
    explicit Win32Alerts(std::string caption) : caption_(std::move(caption)) {}

    void ShowOutOfMemory() override;
    void ReportError(const FrameworkException& error) override;

  private:
    std::string caption_;
};

}  // namespace hw
