// A stand-in for the browser, for the Wine tests of what the console opens:
// while it lives, the shell opens ".html" pages with a command that writes
// the page's path to a file instead of showing it. The prefix's own
// association comes back when it ends.
#pragma once

#include <windows.h>

#include <string>

namespace hw::test {

class StandInBrowser {
  public:
    // The pages opened are written, one path a line, to the file at log.
    explicit StandInBrowser(const std::string& log) {
        const HKEY classes = HKEY_LOCAL_MACHINE;
        char value[256] = {};
        LONG size = sizeof value;
        hadHtml = RegQueryValueA(classes, kHtmlKey, value, &size) == ERROR_SUCCESS;
        if (hadHtml) previousHtml = value;
        const std::string command = "C:\\windows\\system32\\cmd.exe /c echo %1>\"" + log + "\"";
        registered = Set(kHtmlKey, kProgId) && Set(kCommandKey, command.c_str());
    }
    ~StandInBrowser() {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProgIdKey);
        if (hadHtml) {
            Set(kHtmlKey, previousHtml.c_str());
        } else {
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, kHtmlKey);
        }
    }
    StandInBrowser(const StandInBrowser&) = delete;
    StandInBrowser& operator=(const StandInBrowser&) = delete;

    bool Registered() const { return registered; }

  private:
    static constexpr const char* kProgId = "HexwardenTestPage";
    static constexpr const char* kHtmlKey = "Software\\Classes\\.html";
    static constexpr const char* kProgIdKey = "Software\\Classes\\HexwardenTestPage";
    static constexpr const char* kCommandKey =
        "Software\\Classes\\HexwardenTestPage\\shell\\open\\command";

    static bool Set(const char* key, const char* text) {
        return RegSetValueA(HKEY_LOCAL_MACHINE, key, REG_SZ, text,
                            static_cast<DWORD>(std::string(text).size())) == ERROR_SUCCESS;
    }

    bool hadHtml = false;
    std::string previousHtml;
    bool registered = false;
};

}  // namespace hw::test
