#include "platform/win32/Win32Spooler.h"

#include <windows.h>
#include <winspool.h>

#include <new>

// The interface's OpenPrinter, not the ANSI/wide selector macro.
#undef OpenPrinter

#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Utf8.h"

namespace hw {

namespace {

std::string Text(const wchar_t* field) {
    return field == nullptr ? std::string() : Narrow(field);
}

PrinterRecord RecordOf(const PRINTER_INFO_2W& info) {
    return {Text(info.pPrinterName), Text(info.pPortName), Text(info.pDriverName)};
}

// "Use Printer Offline" is an attribute the user sets; a printer that went
// away is a status the spooler reports. Both keep a job waiting.
QueueState StateOf(const PRINTER_INFO_2W& info) {
    if ((info.Status & PRINTER_STATUS_ERROR) != 0) return QueueState::Error;
    if ((info.Status & PRINTER_STATUS_OFFLINE) != 0 ||
        (info.Attributes & PRINTER_ATTRIBUTE_WORK_OFFLINE) != 0) {
        return QueueState::Offline;
    }
    if ((info.Status & PRINTER_STATUS_PAUSED) != 0) return QueueState::Paused;
    return QueueState::Ready;
}

// The printer's level-2 record (sizing call, then the call with a buffer),
// in a buffer that also holds the strings it points to.
bool ReadLevel2(OsHandle printer, std::vector<BYTE>& buffer) {
    DWORD needed = 0;
    if (!GetPrinterW(ToHandle(printer), 2, nullptr, 0, &needed) &&
        GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        return false;
    }
    if (needed < sizeof(PRINTER_INFO_2W)) return false;
    try {
        buffer.resize(needed);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return GetPrinterW(ToHandle(printer), 2, buffer.data(), needed, &needed) != 0;
}

}  // namespace

EnumOutcome Win32Spooler::EnumLocalPrinters(std::vector<PrinterRecord>& records) {
    records.clear();
    DWORD needed = 0;
    DWORD count = 0;
    // The sizing call succeeds outright only when there is nothing to list;
    // a stale last error must not pass for a request for a buffer.
    const BOOL sized = EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
    if (sized || GetLastError() != ERROR_INSUFFICIENT_BUFFER) return EnumOutcome::SizingFailed;
    try {
        std::vector<BYTE> buffer(needed);
        if (!EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), needed, &needed,
                           &count)) {
            return EnumOutcome::Failed;
        }
        const auto* infos = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
        std::vector<PrinterRecord> listed;
        listed.reserve(count);
        for (DWORD i = 0; i < count; ++i) listed.push_back(RecordOf(infos[i]));
        records.swap(listed);
        return EnumOutcome::Listed;
    } catch (const std::bad_alloc&) {
        return EnumOutcome::OutOfMemory;
    }
}

OsHandle Win32Spooler::OpenPrinter(const std::string& name) {
    HANDLE printer = nullptr;
    std::wstring wide = Widen(name);
    if (!OpenPrinterW(wide.data(), &printer, nullptr)) return kNullHandle;
    return ToOsHandle(printer);
}

bool Win32Spooler::GetPrinterRecord(OsHandle printer, PrinterRecord& record) {
    std::vector<BYTE> buffer;
    if (!ReadLevel2(printer, buffer)) return false;
    record = RecordOf(*reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data()));
    return true;
}

bool Win32Spooler::GetQueueState(OsHandle printer, QueueState& state) {
    std::vector<BYTE> buffer;
    if (!ReadLevel2(printer, buffer)) return false;
    state = StateOf(*reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data()));
    return true;
}

bool Win32Spooler::StartRawDocument(OsHandle printer, const char* documentName) {
    wchar_t dataType[] = L"RAW";
    std::wstring name = Widen(documentName);
    DOC_INFO_1W info{};
    info.pDocName = name.data();
    info.pOutputFile = nullptr;
    info.pDatatype = dataType;
    return StartDocPrinterW(ToHandle(printer), 1, reinterpret_cast<BYTE*>(&info)) != 0;
}

bool Win32Spooler::StartPage(OsHandle printer) {
    return StartPagePrinter(ToHandle(printer)) != 0;
}

bool Win32Spooler::WritePrinter(OsHandle printer, const void* data, std::uint32_t n,
                                std::uint32_t& written) {
    DWORD count = 0;
    // The job data is only read; the Win32 prototype just lacks the const.
    const BOOL result = ::WritePrinter(ToHandle(printer), const_cast<void*>(data), n, &count);
    written = count;
    return result == TRUE;
}

bool Win32Spooler::EndPage(OsHandle printer) {
    return EndPagePrinter(ToHandle(printer)) != 0;
}

bool Win32Spooler::EndDocument(OsHandle printer) {
    return EndDocPrinter(ToHandle(printer)) != 0;
}

bool Win32Spooler::AbortJob(OsHandle printer) {
    return ::AbortPrinter(ToHandle(printer)) != 0;
}

void Win32Spooler::ClosePrinter(OsHandle printer) {
    ::ClosePrinter(ToHandle(printer));
}

}  // namespace hw
