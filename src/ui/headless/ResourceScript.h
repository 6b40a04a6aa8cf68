// The program's resource script (src/resources/Hexwarden.rc) read as data:
// its dialog templates, string table and icon ids. The headless window
// system builds its windows from it, so that tests see the very templates
// that the Windows executables are built with.
//
// The reader understands the subset the script uses: DIALOGEX blocks whose
// controls are all CONTROL statements, STRINGTABLE, ICON, and it skips
// #include / #define lines and the VERSIONINFO and manifest resources.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Types.h"

namespace hw::ui {

struct ControlTemplate {
    int id = 0;               // -1 for an unnamed static
    std::string className;    // "Button", "Edit", "Static", "msctls_progress32"
    std::string text;         // with escapes resolved ("\n" is a line break)
    std::uint32_t style = 0;  // including kWsChild and, when shown, kWsVisible
    std::uint32_t exStyle = 0;
    Rect rect;  // dialog units: x, y, x + width, y + height
};

struct DialogTemplate {
    int id = 0;
    Rect rect;  // dialog units
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::string caption;
    int fontSize = 0;
    std::string fontName;
    std::vector<ControlTemplate> controls;  // template order
};

struct ResourceScript {
    std::map<int, DialogTemplate> dialogs;
    std::map<int, std::string> strings;
    std::set<int> icons;
};

// Reads a resource script. Throws std::runtime_error naming the line of a
// statement it does not understand.
ResourceScript ParseResourceScript(std::string_view text);

// The program's own resource script, built into the program.
const ResourceScript& ProgramResources();

}  // namespace hw::ui
