// The link's two alerts on the command line: a line on the error stream
// instead of a box.
#pragma once

#include "cli/TextOutput.h"

#include "cli/TextReporter.h"
#include "platform/device/Alerts.h"

namespace hw::cli {

class StreamAlerts final : public Alerts {
  public:
    explicit StreamAlerts(TextOutput& err) : err(err) {}
    void ShowOutOfMemory() override { err << "out of memory\n"; }
    void ReportError(const FrameworkException& error) override {
        err << OneLine(ErrorReportText(error)) << '\n';
    }

  private:
    TextOutput& err;
};

}  // namespace hw::cli
