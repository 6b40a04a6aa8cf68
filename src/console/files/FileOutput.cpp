#include "console/files/FileOutput.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "console/Messages.h"
#include "console/files/FileDialogs.h"
#include "console/files/OfferedNames.h"
#include "platform/files/FileErrors.h"
#include "platform/files/MemFile.h"
#include "ui/Application.h"

namespace hw {

namespace {

constexpr const char* kOutputFilter = "qfw (*.qfw)|*.qfw|all (*.*)|*.*||";
constexpr std::string_view kCannotOpen = "Cannot Open File";
constexpr std::string_view kSetUpdateMode = "Set UpdateMode  ";
constexpr std::string_view kFirmwareExtension = "qfw";
// The largest file sent: well above any firmware image, and small enough to
// be held in memory whole.
constexpr std::uint64_t kMaxOutputFile = 16u * 1024 * 1024;

// A firmware file is one whose path ends in "qfw" in any letter case, as the
// file dialog's filter matches it; no dot is needed before it. Firmware bytes
// must never reach a ready machine as a program to run.
bool IsFirmwareFile(std::string_view path) {
    if (path.size() < kFirmwareExtension.size()) return false;
    const std::string_view end = path.substr(path.size() - kFirmwareExtension.size());
    return std::equal(end.begin(), end.end(), kFirmwareExtension.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

std::string EmptyFileText(const std::string& path) {
    return path + " is empty: nothing was sent.";
}

std::string TooLargeText(const std::string& path, std::uint64_t size) {
    return path + " holds " + std::to_string(size) + " bytes, more than the " +
           std::to_string(kMaxOutputFile) +
           " bytes (16 MiB) a file sent to the machine may hold: nothing was sent.";
}

const char* QueueStateName(QueueState state) {
    switch (state) {
        case QueueState::Paused:
            return "paused";
        case QueueState::Offline:
            return "offline";
        case QueueState::Error:
            return "in error";
        case QueueState::Ready:
            break;
    }
    return "ready";
}

std::string QueueNotReadyText(const std::string& queue, QueueState state) {
    return "The printer queue " + queue + " is " + QueueStateName(state) +
           ": it would keep the file and send it later. Nothing was sent.";
}

// Copies the file into memory, stopping one piece past the largest file
// sent, so that a file that grew is still refused without being read whole.
void ReadWhole(File& in, MemFile& out) {
    std::vector<std::uint8_t> piece(kSendFilePiece);
    while (out.GetLength() <= kMaxOutputFile) {
        const std::uint32_t n = in.Read(piece.data(), kSendFilePiece);
        if (n == 0) return;
        out.Write(piece.data(), n);
    }
}

// The chosen file's bytes, read whole before anything is sent, so that a file
// that cannot be read to its end sends nothing; null, after the boxes that
// say why, when it cannot be read or must not be sent.
std::unique_ptr<MemFile> LoadOutputFile(FileSystem& files, Reporter& reporter,
                                        const std::string& path) {
    auto contents = std::make_unique<MemFile>(kSendFilePiece);
    std::uint64_t size = 0;
    try {
        const std::unique_ptr<File> in = files.Open(path, FileSystem::Access::Read);
        size = in->GetLength();
        if (size <= kMaxOutputFile) {
            ReadWhole(*in, *contents);
            size = contents->GetLength();
        }
    } catch (const FrameworkException& error) {
        reporter.FileProblem(ErrorReportText(error));
        reporter.FileProblem(kCannotOpen);
        return nullptr;
    }
    if (size == 0 || size > kMaxOutputFile) {
        reporter.FileProblem(size == 0 ? EmptyFileText(path) : TooLargeText(path, size));
        return nullptr;
    }
    contents->Seek(0, File::SeekFrom::Begin);
    return contents;
}

}  // namespace

void FileOutput::SendChosenFile() {
    if (context.window == nullptr || !context.session.RequireOnline(context.reporter)) return;
    const auto path = context.App().ShowFileDialog(
        FileDialogOptionsFor(true, kOutputFilter, kOutputFiles), context.Window());
    if (path) Send(*path);
}

// The status word decides whether the machine may take the file. A status
// that did not come is no answer: nothing is sent to a machine whose mode is
// unknown. A failed transfer is reported, so that a firmware update that did
// not reach the machine is not taken for a finished one.
bool FileOutput::Send(const std::string& path) {
    Reporter& reporter = context.reporter;
    if (!context.session.RequireOnline(reporter)) return false;
    const std::unique_ptr<MemFile> contents =
        LoadOutputFile(context.services.files, reporter, path);
    if (!contents) return false;
    MachineLink& link = context.link();
    const bool firmware = IsFirmwareFile(path);
    const std::uint16_t status = link.GetStatusWord();
    if (status == kStatusNoAnswer) {
        reporter.Error(kTextError);
        return false;
    }
    if (firmware && (status & kStatusUpdateMode) == 0) {
        reporter.Warning(kSetUpdateMode);
        return false;
    }
    if (!firmware && (status & kStatusReadyAtOrigin) == 0) {
        reporter.Warning(kTextHitEnter);
        return false;
    }
    QueueState queue = QueueState::Ready;
    if (!link.QueryQueueState(queue)) {
        reporter.Error(kTextError);
        return false;
    }
    if (queue != QueueState::Ready) {
        reporter.Warning(QueueNotReadyText(link.Channel().PrinterName(), queue));
        return false;
    }
    if (link.SendFile(*contents)) return true;
    reporter.Error(kTextError);
    return false;
}

}  // namespace hw
