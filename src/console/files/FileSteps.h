// The files the technician chooses: the file dialog of the parameter block
// procedures, and the handling of errors on the files chosen: each step that
// may raise a file exception is run here, and the exception is shown in the
// file-error box.
#pragma once

#include "console/Reporter.h"
#include "console/files/FileDialogs.h"
#include "console/files/OfferedNames.h"
#include "platform/files/FileErrors.h"
#include "ui/Application.h"

namespace hw {

// The open or save-as dialog of Get and Put Parameters: any file.
inline ui::FileDialogOptions ParameterFileDialog(bool open) {
    return FileDialogOptionsFor(open, "all (*.*)|*.*||", kParameterFiles);
}

// Runs step; false, after the file problem was reported, when it throws
// FileException.
template <class Step>
bool FileStepSucceeds(Reporter& reporter, Step step) {
    try {
        step();
        return true;
    } catch (const FileException& error) {
        reporter.FileProblem(ErrorReportText(error));
        return false;
    }
}

}  // namespace hw
