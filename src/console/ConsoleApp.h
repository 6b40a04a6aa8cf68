// The application object: runs the console modally as the program's one main
// loop, then lets the program end.
#pragma once

#include "console/ConsoleServices.h"

namespace hw {

class ConsoleApp {
  public:
    explicit ConsoleApp(const ConsoleServices& services) : services(services) {}

    // Runs the whole program; false, so that the process ends afterwards.
    bool InitInstance();

  private:
    ConsoleServices services;
};

}  // namespace hw
