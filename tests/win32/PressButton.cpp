// A helper program for the scripts that drive the demonstration under Wine:
//   press_button <title> <id>               posts the command <id>, as a click
//                                           on the button with that id does
//   press_button <title> <id> sys           posts it as the system menu's item
//                                           with that id does
//   press_button <title> <id> text <value>  sets the text of the control <id>
//                                           (of a combo box, its edit field)
//   press_button <title> <id> wait <start>  waits until the control's text
//                                           starts with <start>
//   press_button <title> <id> rect          prints the control's place in the
//                                           window's picture: WxH+X+Y
// Each first waits for a visible top-level window whose title is <title> (or
// starts with it, when <title> ends with '*'). Exits with 0 once done, 1 when
// no such window or control came up or the text never came, 2 on wrong
// arguments.
#include <windows.h>

#include <cstdio>
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

std::string TextOf(HWND window) {
    char text[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, &copied);
    return text;
}

BOOL CALLBACK TakeIfTitled(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (!IsWindowVisible(window)) return TRUE;
    const std::string title = TextOf(window);
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

bool WaitForText(HWND control, const std::string& start) {
    for (int step = 0; step < kWaitSteps; ++step) {
        if (TextOf(control).rfind(start, 0) == 0) return true;
        Sleep(kWaitStepMs);
    }
    return false;
}

bool PostCommand(HWND window, int id) {
    const HWND button = GetDlgItem(window, id);
    const WPARAM command = MAKEWPARAM(id, BN_CLICKED);
    return PostMessageA(window, WM_COMMAND, command, reinterpret_cast<LPARAM>(button)) != 0;
}

// The control's rectangle from the window's top left corner: the window's
// picture holds its frame and title bar too.
void PrintPlace(HWND window, HWND control) {
    RECT outer{};
    RECT inner{};
    GetWindowRect(window, &outer);
    GetWindowRect(control, &inner);
    std::printf("%ldx%ld+%ld+%ld\n", inner.right - inner.left, inner.bottom - inner.top,
                inner.left - outer.left, inner.top - outer.top);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 5) return 2;
    Search search{argv[1]};
    if (!search.title.empty() && search.title.back() == '*') {
        search.title.pop_back();
        search.prefix = true;
    }
    const int id = std::atoi(argv[2]);
    const std::string action = argc > 3 ? argv[3] : "";
    const bool takesValue = action == "text" || action == "wait";
    if (takesValue != (argc == 5)) return 2;
    const HWND window = WaitForWindow(search);
    if (window == nullptr) return 1;
    if (action.empty()) return PostCommand(window, id) ? 0 : 1;
    if (action == "sys") return PostMessageA(window, WM_SYSCOMMAND, id, 0) ? 0 : 1;
    const HWND control = GetDlgItem(window, id);
    if (control == nullptr) return 1;
    if (action == "text") {
        return SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4])) ? 0 : 1;
    }
    if (action == "wait") return WaitForText(control, argv[4]) ? 0 : 1;
    if (action != "rect") return 2;
    PrintPlace(window, control);
    return 0;
}
