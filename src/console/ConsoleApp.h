// The application object: runs the console modally as the program's one main
// loop, then lets the program end. Its command map sends the help command
// (F1) to the framework's help handler, which opens the technician's manual.
#pragma once

#include "console/ConsoleServices.h"

namespace hw {

class StartupTimer;

class ConsoleApp {
  public:
    // startup, when given, times the start-up (ConsoleDialog).
    explicit ConsoleApp(const ConsoleServices& services, StartupTimer* startup = nullptr);

    // Runs the whole program; false, so that the process ends afterwards.
    bool InitInstance();

  private:
    static const ui::AppCommandEntry commandMap[];

    ConsoleServices services;
    StartupTimer* startup;
};

}  // namespace hw
