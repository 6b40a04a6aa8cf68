// A stand-in for the browser, for the Wine tests of what the console opens:
// while it lives, the shell opens ".html" pages with a command that writes
// the page's path to a file instead of showing it. The prefix's own
// association is kept beside the stand-in's and put back when it ends, also
// by the next stand-in after a run that was cut short.
#pragma once

#include <windows.h>

#include <string>

namespace hw::test {

class StandInBrowser {
  public:
    // What the stand-in leaves in its log: the path of the page opened, or
    // the page itself (whose path the console's command prompt would write
    // in its own code page).
    enum class Logs { Path, Page };

    // The pages opened are written, one path a line, to the file at log, or
    // copied there.
    explicit StandInBrowser(const std::string& log, Logs logs = Logs::Path) {
        std::string current = Get(kHtmlKey, nullptr);
        if (current == kProgId) current = Get(kProgIdKey, kPreviousValue);
        const std::string command = std::string("C:\\windows\\system32\\cmd.exe /c ") +
                                    (logs == Logs::Path ? "echo %1>" : "copy /y %1 ") + "\"" + log +
                                    "\"";
        registered = Set(kProgIdKey, kPreviousValue, current) &&
                     Set(kCommandKey, nullptr, command) && Set(kHtmlKey, nullptr, kProgId);
    }
    ~StandInBrowser() {
        const std::string previous = Get(kProgIdKey, kPreviousValue);
        if (previous.empty()) {
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, kHtmlKey);
        } else {
            Set(kHtmlKey, nullptr, previous);
        }
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProgIdKey);
    }
    StandInBrowser(const StandInBrowser&) = delete;
    StandInBrowser& operator=(const StandInBrowser&) = delete;

    bool Registered() const { return registered; }

  private:
    static constexpr const char* kProgId = "HexwardenTestPage";
    static constexpr const char* kPreviousValue = "PreviousHtmlClass";
    static constexpr const char* kHtmlKey = "Software\\Classes\\.html";
    static constexpr const char* kProgIdKey = "Software\\Classes\\HexwardenTestPage";
    static constexpr const char* kCommandKey =
        "Software\\Classes\\HexwardenTestPage\\shell\\open\\command";

    // The text of the key's value (nullptr: its default value); empty when
    // there is none.
    static std::string Get(const char* key, const char* value) {
        char text[256] = {};
        DWORD size = sizeof text - 1;
        if (RegGetValueA(HKEY_LOCAL_MACHINE, key, value, RRF_RT_REG_SZ, nullptr, text, &size) !=
            ERROR_SUCCESS)
            return {};
        return text;
    }
    static bool Set(const char* key, const char* value, const std::string& text) {
        return RegSetKeyValueA(HKEY_LOCAL_MACHINE, key, value, REG_SZ, text.c_str(),
                               static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
    }

    bool registered = false;
};

}  // namespace hw::test
