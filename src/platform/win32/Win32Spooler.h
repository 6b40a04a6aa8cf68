// The Win32 print spooler: local printer enumeration, printer records and
// raw print jobs.
#pragma once

#include "platform/device/Spooler.h"

namespace hw {

class Win32Spooler final : public Spooler {
  public:
    EnumOutcome EnumLocalPrinters(std::vector<PrinterRecord>& records) override;
    OsHandle OpenPrinter(const std::string& name) override;
    bool GetPrinterRecord(OsHandle printer, PrinterRecord& record) override;
    bool GetQueueState(OsHandle printer, QueueState& state) override;
    bool StartRawDocument(OsHandle printer, const char* documentName) override;
    bool StartPage(OsHandle printer) override;
    bool WritePrinter(OsHandle printer, const void* data, std::uint32_t n,
                      std::uint32_t& written) override;
    bool EndPage(OsHandle printer) override;
    bool EndDocument(OsHandle printer) override;
    bool AbortJob(OsHandle printer) override;
    void ClosePrinter(OsHandle printer) override;
};

}  // namespace hw
