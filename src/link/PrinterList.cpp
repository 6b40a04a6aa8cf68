// The link's list of local printers that use a given driver.
#include <new>

#include "link/DeviceLink.h"

namespace hw {

int DeviceLink::FindPrinters(const char* driverName) {
    printers.clear();
    std::vector<PrinterRecord> records;
    switch (platform.spooler.EnumLocalPrinters(records)) {
        case EnumOutcome::SizingFailed:
            return -1;
        case EnumOutcome::OutOfMemory:
            platform.alerts.ShowOutOfMemory();
            return -1;
        case EnumOutcome::Failed:
            return 0;
        case EnumOutcome::Listed:
            break;
    }
    try {
        for (const auto& record : records) {
            if (driverName == nullptr || record.driverName == driverName) {
                printers.push_back(record.printerName);
            }
        }
    } catch (const std::bad_alloc&) {
        printers.clear();
        platform.alerts.ShowOutOfMemory();
        return -1;
    }
    return static_cast<int>(printers.size());
}

const std::string* DeviceLink::PrinterName(int index) const {
    const auto position = static_cast<unsigned int>(index);
    return position < printers.size() ? &printers[position] : nullptr;
}

}  // namespace hw
