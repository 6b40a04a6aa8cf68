#include "platform/win32/Win32Arguments.h"

#include <windows.h>
// After <windows.h>, whose types it uses.
#include <shellapi.h>

#include "platform/win32/Win32Utf8.h"

namespace hw {

std::vector<std::string> Win32Arguments() {
    int count = 0;
    LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    if (list == nullptr) return args;
    for (int i = 1; i < count; ++i) args.push_back(Narrow(list[i]));
    LocalFree(list);
    return args;
}

}  // namespace hw
