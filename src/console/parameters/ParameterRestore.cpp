#include "console/parameters/ParameterRestore.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "console/Messages.h"
#include "console/files/FileSteps.h"
#include "console/parameters/ParameterBackups.h"
#include "console/parameters/ParameterBlock.h"
#include "platform/files/MemFile.h"

namespace hw {

namespace {

constexpr std::string_view kAlreadyHeld = "The machine already holds this parameter block.";
constexpr std::string_view kWriteAnyway = "Write the file to the machine anyway?";
constexpr std::uint32_t kFileGrowth = 1024;

// The chosen file's name without its folder, as the technician knows it.
std::string FileName(const std::string& path) {
    return path.substr(PathBeside(path, "").size());
}

std::string WrongSizeText(const std::string& name, std::uint64_t size, std::size_t length) {
    return name + " is not a parameter block of this machine: it holds " + std::to_string(size) +
           " bytes, the machine's block holds " + std::to_string(length) + " bytes.";
}

// A backup of another machine is named: restoring one machine's block into
// another is the loss the confirmation is there to prevent.
std::string ConfirmText(const std::string& name, std::size_t differing, std::size_t length,
                        const MachineSession& session) {
    std::string text = name + ": " + std::to_string(differing) + " of " + std::to_string(length) +
                       " bytes differ from the machine's parameter block.\n";
    const auto other =
        OtherMachineBackup(name, BackupMachineName(session.Queue(), session.Instance()));
    if (other) text += "It was backed up from another machine: " + *other + ".\n";
    return text + "Write it to " + session.QueueAndPort() + "?";
}

// What the machine holds after a write that was refused or that the
// read-back does not confirm, and where the backup of its previous block is.
std::string ReadBackText(bool written, const std::optional<ParameterBlock>& after,
                         const ParameterBlock& file, const ParameterBlock& held,
                         const std::string& backup) {
    std::string text = written ? "The parameter block was written. "
                               : "The parameter block could not be written. ";
    if (!after) {
        text += "The machine's parameter block could not be read back.";
    } else if (*after == held) {
        text += "The machine kept its previous block: nothing changed.";
    } else if (*after == file) {
        text += "The machine holds the file's block now.";
    } else {
        text += "The machine now holds a block that differs from the file at byte " +
                std::to_string(*FirstDifference(*after, file)) +
                " and from its previous block at byte " +
                std::to_string(*FirstDifference(*after, held)) + ".";
    }
    if (!backup.empty()) text += "\nThe block it held before is saved as " + backup + ".";
    return text;
}

// Saves the block the machine holds as a backup; returns its path, or an
// empty path when the technician goes on without one. Nothing, after the
// technician declined to go on without a backup.
std::optional<std::string> BackUp(Reporter& reporter, FileSystem& files, System& system,
                                  const std::string& machine, const ParameterBlock& held) {
    try {
        return SaveParameterBackup(files, system, machine, held);
    } catch (const FileException& error) {
        const std::string ask = ErrorReportText(error) + "\n" + std::string(kWriteAnyway);
        const auto style = ui::kMbYesNo | ui::kMbDefButton2 | ui::kMbIconExclamation;
        if (reporter.Ask(ask, style) != ui::kIdYes) return std::nullopt;
        return std::string();
    }
}

}  // namespace

// Writes the file's block into the machine and reads it back, whether or
// not the write went through, to tell what the machine holds. A memory file
// that cannot hold the block is reported before anything is sent. A machine
// left with a block it held or was meant to hold is a warning; any other
// outcome is an error.
void ParameterRestore::WriteAndVerify(const ParameterBlock& file, const ParameterBlock& held,
                                      const std::string& backup) {
    MemFile source(kFileGrowth);
    try {
        source.Write(file.data(), static_cast<std::uint32_t>(file.size()));
    } catch (const FrameworkException& error) {
        context.reporter.Warning(ErrorReportText(error));
        return;
    }
    context.reporter.Progress("Writing the parameter block...");
    const bool written = context.link().PutParameters(source);
    context.reporter.Progress("Reading it back...");
    const auto after = ReadParameterBlock(context.link());
    if (written && after && *after == file) {
        context.reporter.Completed(kTextCompleted);
        return;
    }
    const std::string text = ReadBackText(written, after, file, held, backup);
    if (after && (*after == held || *after == file)) {
        context.reporter.Warning(text);
    } else {
        context.reporter.Error(text);
    }
}

void ParameterRestore::RestoreChosenFile() {
    if (!context.session.RequireOnline(context.reporter)) return;
    const auto path = context.App().ShowFileDialog(ParameterFileDialog(true), context.Window());
    if (path) Restore(*path);
}

// The file is opened before the machine is asked, so that a file that cannot
// be read sends nothing; it is read whole into memory, so that the bytes
// compared are the bytes written.
void ParameterRestore::Restore(const std::string& path) {
    Reporter& reporter = context.reporter;
    if (!context.session.RequireOnline(reporter)) return;
    const auto& services = context.services;
    std::unique_ptr<File> in;
    if (!FileStepSucceeds(reporter,
                          [&] { in = services.files.Open(path, FileSystem::Access::Read); }))
        return;
    reporter.Progress("Reading the machine's parameter block...");
    const auto held = ReadParameterBlock(context.link());
    if (!held) {
        reporter.Error(kTextError);
        return;
    }
    BlockFile chosen;
    if (!FileStepSucceeds(reporter, [&] { chosen = ReadBlockFile(*in, held->size()); })) return;
    in.reset();
    const std::string name = FileName(path);
    if (chosen.size != held->size()) {
        reporter.FileProblem(WrongSizeText(name, chosen.size, held->size()));
        return;
    }
    if (chosen.bytes == *held) {
        reporter.Information(kAlreadyHeld);
        return;
    }
    const std::string confirm =
        ConfirmText(name, DifferingBytes(chosen.bytes, *held), held->size(), context.session);
    if (reporter.Ask(confirm, ui::kMbOkCancel | ui::kMbDefButton2) != ui::kIdOk) return;
    const auto backup =
        BackUp(reporter, services.files, services.link.system,
               BackupMachineName(context.session.Queue(), context.session.Instance()), *held);
    if (!backup) return;
    if (!backup->empty()) context.session.NoteSavedBlock(*backup);
    WriteAndVerify(chosen.bytes, *held, *backup);
}

}  // namespace hw
