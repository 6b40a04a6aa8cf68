// What the console reaches outside itself: the dialog framework's
// application, the OS services of the device link and the program file.
#pragma once

#include "platform/LinkPlatform.h"
#include "platform/ProgramFile.h"
#include "ui/Application.h"

namespace hw {

struct ConsoleServices {
    ui::Application& app;
    const LinkPlatform& link;
    ProgramFile& programFile;
};

}  // namespace hw
