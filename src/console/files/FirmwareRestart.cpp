#include "console/files/FirmwareRestart.h"

#include <algorithm>
#include <memory>
#include <span>
#include <string_view>

#include "console/Messages.h"
#include "console/parameters/ParameterBackups.h"
#include "console/parameters/ParameterBlock.h"
#include "console/windows/ProgressDialog.h"
#include "platform/files/FileErrors.h"

namespace hw {

namespace {

constexpr std::string_view kWaitingForRestart = "Waiting for the machine to restart...";
constexpr std::string_view kNotBack =
    "The machine did not come back within 60 seconds after taking the firmware. Switch it off "
    "and on again, then reconnect it (unplug its USB cable and plug it in again).";
constexpr std::string_view kNotCompared = "The parameter block was not compared: ";
// Between two looks at the device: the window is served at each.
constexpr std::uint32_t kRestartPollMs = 50;

std::string FirmwareText(const std::string& text) {
    return text.empty() ? "not read" : text;
}

// Bytes at the same offset that differ, and every byte one block has beyond
// the other.
std::size_t BytesThatDiffer(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    const std::size_t common = std::min(a.size(), b.size());
    return DifferingBytes(a.first(common), b.first(common)) + std::max(a.size(), b.size()) - common;
}

// Waits until the device has gone and come back, the session connected to
// it again; false when that did not happen within kRestartLimitMs. The
// console's own device-change handling may see the going or the coming
// first: the session's state tells either way.
bool WaitForRestart(const ProcedureContext& context, ProgressDialog* progress) {
    System& system = context.services.link.system;
    MachineSession& session = context.session;
    const std::uint32_t start = system.TickCount();
    bool gone = false;
    for (;;) {
        // Stop is disabled: serving the window is all this asks of it.
        if (progress != nullptr) progress->CheckCancel();
        session.Recheck();
        if (!session.Connected()) {
            gone = true;
        } else if (gone) {
            return true;
        }
        if (system.TickCount() - start >= kRestartLimitMs) return false;
        system.Sleep(kRestartPollMs);
    }
}

}  // namespace

bool ProveFirmwareRestart(const ProcedureContext& context, ProgressDialog* progress,
                          const std::string& firmwareBefore) {
    if (progress != nullptr) progress->SetStatusText(kWaitingForRestart);
    if (!WaitForRestart(context, progress)) {
        context.reporter.Warning(kNotBack);
        return false;
    }
    std::string text = std::string(kTextCompleted) +
                       "\nFirmware before: " + FirmwareText(firmwareBefore) +
                       "\nFirmware now: " + FirmwareText(context.session.Firmware());
    if (const std::string block = SavedBlockComparison(context); !block.empty())
        text += "\n" + block;
    context.reporter.Completed(text);
    return true;
}

// A saved file that is no block of the machine's size counts every byte of
// the machine's block as differing.
std::string SavedBlockComparison(const ProcedureContext& context) {
    FileSystem& files = context.services.files;
    std::string path = context.session.SavedBlock();
    try {
        if (path.empty())
            path = NewestParameterBackup(
                files, BackupMachineName(context.session.Queue(), context.session.Instance()));
        if (path.empty()) return {};
        const std::optional<ParameterBlock> block = ReadParameterBlock(context.link());
        if (!block) return std::string(kNotCompared) + "the machine's could not be read.";
        const std::unique_ptr<File> in = files.Open(path, FileSystem::Access::Read);
        const BlockFile saved = ReadBlockFile(*in, block->size());
        const std::size_t differ = BytesThatDiffer(*block, saved.bytes);
        if (differ == 0) return "parameter block unchanged";
        return std::to_string(differ) + " bytes differ from " + path +
               ": Put Parameters can restore it";
    } catch (const FrameworkException& error) {
        return std::string(kNotCompared) + ErrorReportText(error);
    }
}

}  // namespace hw
