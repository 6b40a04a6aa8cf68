#include "platform/win32/Win32Platform.h"

#include <utility>

namespace hw {

Win32Platform::Win32Platform(std::string appName) : alerts(std::move(appName)) {}

}  // namespace hw
