// Output File: sends a file unchanged to the machine as a raw print job. A
// firmware file goes only to a machine in its firmware update mode, any
// other file only to a machine ready at its origin.
#include <memory>
#include <string>
#include <string_view>

#include "console/ConsoleDialog.h"
#include "console/FileSteps.h"
#include "console/Messages.h"

namespace hw {

namespace {

constexpr const char* kOutputFilter = "qfw (*.qfw)|*.qfw|all (*.*)|*.*||";
constexpr std::string_view kCannotOpen = "Cannot Open File";
constexpr std::string_view kSetUpdateMode = "Set UpdateMode  ";
constexpr std::string_view kFirmwareExtension = "qfw";

// A firmware file is one whose path ends in "qfw", letter case and all; no
// dot is needed before it.
bool IsFirmwareFile(std::string_view path) {
    return path.ends_with(kFirmwareExtension);
}

}  // namespace

// The status word decides whether the machine may take the file. A status
// that did not come is no answer: nothing is sent to a machine whose mode is
// unknown. A failed transfer is reported, so that a firmware update that did
// not reach the machine is not taken for a finished one.
void ConsoleDialog::OnOutputFile() {
    if (!Online()) return;
    ui::FileDialogOptions options;
    options.open = true;
    options.flags = ui::kOfnHideReadOnly | ui::kOfnOverwritePrompt;
    options.filter = kOutputFilter;
    const auto path = services.app.ShowFileDialog(options);
    if (!path) return;
    std::unique_ptr<File> file;
    if (!FileStepSucceeds(services.app,
                          [&] { file = services.files.Open(*path, FileSystem::Access::Read); })) {
        ShowWarningBox(services.app, kCannotOpen);
        return;
    }
    const bool firmware = IsFirmwareFile(*path);
    const std::uint16_t status = link.GetStatusWord();
    if (status == kStatusNoAnswer) {
        ShowErrorBox(services.app, kTextError);
        return;
    }
    if (firmware && (status & kStatusUpdateMode) == 0) {
        ShowWarningBox(services.app, kSetUpdateMode);
        return;
    }
    if (!firmware && (status & kStatusReadyAtOrigin) == 0) {
        ShowWarningBox(services.app, kTextHitEnter);
        return;
    }
    const bool sent = link.SendFile(*file);
    file.reset();
    if (!sent) ShowErrorBox(services.app, kTextError);
}

}  // namespace hw
