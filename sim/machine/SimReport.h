// The service report: a text the machine builds from its state when asked.
#pragma once

#include <string>

namespace hw {

class SimMachine;

std::string SimServiceReport(const SimMachine& machine);

}  // namespace hw
