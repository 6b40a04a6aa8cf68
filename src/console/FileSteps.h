// The console's handling of errors on the files the technician chose: each
// step that may raise a file exception is run here, and the exception is
// shown in the file-error box.
#pragma once

#include "platform/FileErrors.h"
#include "ui/Application.h"

namespace hw {

// Runs step; false, after the file-error box, when it throws FileException.
template <class Step>
bool FileStepSucceeds(ui::Application& app, Step step) {
    try {
        step();
        return true;
    } catch (const FileException& error) {
        app.ReportError(error);
        return false;
    }
}

}  // namespace hw
