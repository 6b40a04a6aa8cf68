#include "sim/pc/SimSpooler.h"

#include <algorithm>

namespace hw {

void SimSpooler::AddPrinter(const PrinterRecord& record, bool machineQueue) {
    std::lock_guard<std::mutex> lock(mutex_);
    queues_.push_back({record, machineQueue ? &device_ : nullptr});
}

void SimSpooler::AddMachinePrinter(const PrinterRecord& record, SimDeviceFiles& device) {
    std::lock_guard<std::mutex> lock(mutex_);
    queues_.push_back({record, &device});
}

void SimSpooler::RemovePrinter(const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::erase_if(queues_, [&name](const Queue& q) { return q.record.printerName == name; });
}

void SimSpooler::SetQueueState(const std::string& name, QueueState state) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (Queue* queue = FindQueue(name)) queue->state = state;
}

std::size_t SimSpooler::AbortedJobs() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return abortedJobs_;
}

std::vector<SimPrintJob> SimSpooler::OtherJobs() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return otherJobs_;
}

std::vector<SimPrintJob> SimSpooler::MachineJobs() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return machineJobs_;
}

std::size_t SimSpooler::OpenPrinters() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return sessions_.size();
}

SimSpooler::Queue* SimSpooler::FindQueue(const std::string& name) {
    for (Queue& queue : queues_) {
        if (queue.record.printerName == name) return &queue;
    }
    return nullptr;
}

SimSpooler::Session* SimSpooler::FindSession(OsHandle printer) {
    const auto it = sessions_.find(printer);
    return it == sessions_.end() ? nullptr : &it->second;
}

SimSpooler::Queue* SimSpooler::QueueOf(OsHandle printer) {
    const Session* session = FindSession(printer);
    return session == nullptr ? nullptr : FindQueue(session->printer);
}

EnumOutcome SimSpooler::EnumLocalPrinters(std::vector<PrinterRecord>& records) {
    std::lock_guard<std::mutex> lock(mutex_);
    records.clear();
    for (const Queue& queue : queues_) records.push_back(queue.record);
    return EnumOutcome::Listed;
}

OsHandle SimSpooler::OpenPrinter(const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (FindQueue(name) == nullptr) return kNullHandle;
    const OsHandle handle = nextHandle_;
    nextHandle_ += 8;
    sessions_[handle].printer = name;
    return handle;
}

bool SimSpooler::GetPrinterRecord(OsHandle printer, PrinterRecord& record) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Queue* queue = QueueOf(printer);
    if (queue != nullptr) record = queue->record;
    return queue != nullptr;
}

bool SimSpooler::GetQueueState(OsHandle printer, QueueState& state) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Queue* queue = QueueOf(printer);
    if (queue != nullptr) state = queue->state;
    return queue != nullptr;
}

bool SimSpooler::StartRawDocument(OsHandle printer, const char* documentName) {
    std::lock_guard<std::mutex> lock(mutex_);
    Session* session = FindSession(printer);
    if (session == nullptr || session->inDocument) return false;
    const Queue* queue = FindQueue(session->printer);
    session->inDocument = true;
    session->device = queue != nullptr ? queue->device : nullptr;
    session->connection = session->device != nullptr ? session->device->Connection() : 0;
    session->broken = false;
    session->job = {session->printer, documentName == nullptr ? "" : documentName, "RAW", {}};
    return true;
}

bool SimSpooler::StartPage(OsHandle printer) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Session* session = FindSession(printer);
    return session != nullptr && session->inDocument;
}

bool SimSpooler::WritePrinter(OsHandle printer, const void* data, std::uint32_t n,
                              std::uint32_t& written) {
    written = 0;
    SimDeviceFiles* machine = nullptr;
    std::uint32_t connection = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const Session* session = FindSession(printer);
        if (session == nullptr || !session->inDocument || (data == nullptr && n != 0)) return false;
        if (writesBeforeFailure_ >= 0 && writesBeforeFailure_-- == 0) return false;
        machine = session->device;
        connection = session->connection;
    }
    // Outside the lock: pulling the cable tells the device-change listener.
    const bool reached = machine == nullptr || machine->TakePrintPiece(connection);
    std::lock_guard<std::mutex> lock(mutex_);
    Session* session = FindSession(printer);
    if (session == nullptr || !session->inDocument) return false;
    if (!reached) {
        session->broken = true;
        return false;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    session->job.data.insert(session->job.data.end(), bytes, bytes + n);
    written = n;
    return true;
}

bool SimSpooler::EndPage(OsHandle printer) {
    return StartPage(printer);
}

bool SimSpooler::EndDocument(OsHandle printer) {
    SimPrintJob job;
    SimDeviceFiles* machine = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Session* session = FindSession(printer);
        if (session == nullptr || !session->inDocument) return false;
        session->inDocument = false;
        if (session->broken) return true;
        machine = session->device;
        job = std::move(session->job);
        (machine != nullptr ? machineJobs_ : otherJobs_).push_back(job);
    }
    if (machine != nullptr) machine->DeliverPrintJob(job.data);
    return true;
}

bool SimSpooler::AbortJob(OsHandle printer) {
    std::lock_guard<std::mutex> lock(mutex_);
    Session* session = FindSession(printer);
    if (session == nullptr || !session->inDocument) return false;
    session->inDocument = false;
    session->job = {};
    ++abortedJobs_;
    return true;
}

void SimSpooler::ClosePrinter(OsHandle printer) {
    std::lock_guard<std::mutex> lock(mutex_);
    sessions_.erase(printer);
}

}  // namespace hw
