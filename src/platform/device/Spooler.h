// The print spooler: local printer enumeration, printer records and raw jobs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/device/Handles.h"

namespace hw {

// The fields of a printer's level-2 record that the console uses.
struct PrinterRecord {
    std::string printerName;
    std::string portName;
    std::string driverName;
};

// What a printer queue does with a job it is given, from its level-2 record.
// A queue that is more than one of these reports the first in this order.
enum class QueueState {
    Ready,    // prints what it is given
    Error,    // the printer reports an error
    Offline,  // the printer is offline, or set to be used offline
    Paused,   // the queue is paused: jobs wait in it until it resumes
};

enum class EnumOutcome {
    Listed,        // records holds every local printer, in the spooler's order
    SizingFailed,  // the sizing call did not ask for a larger buffer
    OutOfMemory,   // the buffer the sizing call asked for could not be allocated
    Failed,        // the call with the buffer failed
};

class Spooler {
  public:
    virtual ~Spooler() = default;

    // Enumerates the local printers at level 2 (sizing call, then the call
    // with a buffer). records is replaced on Listed and left empty otherwise.
    virtual EnumOutcome EnumLocalPrinters(std::vector<PrinterRecord>& records) = 0;

    // Opens a printer by name with no defaults. kNullHandle on failure.
    virtual OsHandle OpenPrinter(const std::string& name) = 0;

    // Reads the printer's level-2 record (sizing call, then the call with a
    // buffer). True exactly when the second call succeeds.
    virtual bool GetPrinterRecord(OsHandle printer, PrinterRecord& record) = 0;

    // Reads the queue's state from the printer's level-2 record. False when
    // the record cannot be read.
    virtual bool GetQueueState(OsHandle printer, QueueState& state) = 0;

    // Starts a level-1 document with that name, no output file and data type
    // "RAW". The result is the OS's; callers may ignore it.
    virtual bool StartRawDocument(OsHandle printer, const char* documentName) = 0;
    virtual bool StartPage(OsHandle printer) = 0;

    // Writes n bytes of the job; written receives the count the spooler took.
    // True exactly when the OS reports success.
    virtual bool WritePrinter(OsHandle printer, const void* data, std::uint32_t n,
                              std::uint32_t& written) = 0;
    virtual bool EndPage(OsHandle printer) = 0;
    virtual bool EndDocument(OsHandle printer) = 0;
    // Deletes the document in progress with what it holds (AbortPrinter):
    // none of it is printed, and it is not ended afterwards.
    virtual bool AbortJob(OsHandle printer) = 0;
    virtual void ClosePrinter(OsHandle printer) = 0;
};

}  // namespace hw
