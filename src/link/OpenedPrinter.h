// A printer opened on the spooler, closed when it goes out of scope.
#pragma once

#include <string>

#include "platform/device/Spooler.h"

namespace hw {

class OpenedPrinter {
  public:
    OpenedPrinter(Spooler& owner, const std::string& name)
        : spooler(owner), handle(owner.OpenPrinter(name)) {}
    ~OpenedPrinter() {
        if (handle != kNullHandle) spooler.ClosePrinter(handle);
    }
    OpenedPrinter(const OpenedPrinter&) = delete;
    OpenedPrinter& operator=(const OpenedPrinter&) = delete;

    bool IsOpen() const { return handle != kNullHandle; }
    OsHandle Handle() const { return handle; }

  private:
    Spooler& spooler;
    OsHandle handle;
};

}  // namespace hw
