// The print spooler of the simulated PC: its local printers in order, printer
// records, queue states and raw jobs. A job that ends on a queue of the
// machine goes to the machine; jobs to other printers are kept for
// inspection. A machine job whose cable is pulled while it runs fails its
// next write and is dropped. A job that is aborted is discarded with what it
// held; one that is ended after a failed write is printed with what it took,
// as Windows prints it.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/device/Spooler.h"
#include "sim/pc/SimDeviceFiles.h"

namespace hw {

struct SimPrintJob {
    std::string printer;
    std::string documentName;
    std::string dataType;
    std::vector<std::uint8_t> data;
};

class SimSpooler final : public Spooler {
  public:
    explicit SimSpooler(SimDeviceFiles& device) : device_(device) {}

    // Adds a local printer; machine queues print to the simulated machine.
    void AddPrinter(const PrinterRecord& record, bool machineQueue);
    // Adds a queue that prints to the machine behind device.
    void AddMachinePrinter(const PrinterRecord& record, SimDeviceFiles& device);
    void RemovePrinter(const std::string& name);
    // Pauses the queue, takes its printer offline, puts it in error, or
    // makes it ready again.
    void SetQueueState(const std::string& name, QueueState state);
    // After this many more writes that succeed, a write of a job fails and
    // takes nothing, as when the disk that holds the spool files fills up;
    // the job keeps what it took.
    void FailWriteAfter(int writes) { writesBeforeFailure_ = writes; }
    // Jobs deleted before they were ended.
    std::size_t AbortedJobs() const;
    // Jobs finished on printers other than the machine's queues.
    std::vector<SimPrintJob> OtherJobs() const;
    // Jobs finished on the machine's queues, in order.
    std::vector<SimPrintJob> MachineJobs() const;
    std::size_t OpenPrinters() const;

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

  private:
    struct Queue {
        PrinterRecord record;
        // The machine it prints to; nullptr: another printer.
        SimDeviceFiles* device;
        QueueState state = QueueState::Ready;
    };
    struct Session {
        std::string printer;
        bool inDocument = false;
        SimDeviceFiles* device = nullptr;
        // The cable's connection when the job began, and whether it was lost.
        std::uint32_t connection = 0;
        bool broken = false;
        SimPrintJob job;
    };

    Queue* FindQueue(const std::string& name);
    Session* FindSession(OsHandle printer);
    // The queue a printer handle was opened on; null when there is none.
    Queue* QueueOf(OsHandle printer);

    mutable std::mutex mutex_;
    SimDeviceFiles& device_;
    std::vector<Queue> queues_;
    std::map<OsHandle, Session> sessions_;
    OsHandle nextHandle_ = 0x3000;
    std::vector<SimPrintJob> machineJobs_;
    std::vector<SimPrintJob> otherJobs_;
    std::size_t abortedJobs_ = 0;
    int writesBeforeFailure_ = -1;  // -1: no write fails
};

}  // namespace hw
