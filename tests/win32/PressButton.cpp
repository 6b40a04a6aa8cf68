// A helper program for the scripts that drive the demonstration under Wine:
//   press_button <title> <command id> [sys]
// waits for a visible top-level window whose title is <title> (or starts
// with it, when <title> ends with '*'), then posts it the command, as a
// click on its button with that id does (with "sys", as the system menu's
// item with that id does). Exits with 0 once posted, 1 when no such window
// came up, 2 on wrong arguments.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

constexpr int kWaitSteps = 100;
constexpr DWORD kWaitStepMs = 200;

struct Search {
    std::string title;
    bool prefix = false;
    HWND found = nullptr;
};

BOOL CALLBACK TakeIfTitled(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (!IsWindowVisible(window)) return TRUE;
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    const std::string title = text;
    const bool matches =
        search->prefix ? title.rfind(search->title, 0) == 0 : title == search->title;
    if (!matches) return TRUE;
    search->found = window;
    return FALSE;
}

HWND WaitForWindow(Search search) {
    for (int step = 0; step < kWaitSteps; ++step) {
        EnumWindows(TakeIfTitled, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) return search.found;
        Sleep(kWaitStepMs);
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) return 2;
    Search search{argv[1]};
    if (!search.title.empty() && search.title.back() == '*') {
        search.title.pop_back();
        search.prefix = true;
    }
    const int id = std::atoi(argv[2]);
    const HWND window = WaitForWindow(search);
    if (window == nullptr) return 1;
    if (argc == 4) return PostMessageA(window, WM_SYSCOMMAND, id, 0) ? 0 : 1;
    const HWND button = GetDlgItem(window, id);
    const WPARAM command = MAKEWPARAM(id, BN_CLICKED);
    return PostMessageA(window, WM_COMMAND, command, reinterpret_cast<LPARAM>(button)) ? 0 : 1;
}
