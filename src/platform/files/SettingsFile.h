// The settings file beside the program: an INI file the console only reads.
#pragma once

#include <cstddef>
#include <string>

namespace hw {

class SettingsFile {
  public:
    virtual ~SettingsFile() = default;

    // The section of the INI file at path as the system's section read fills
    // a buffer of capacity characters: each entry line ("key=value", or a
    // line without "=") with the blanks at its ends and around its first "="
    // removed, followed by a NUL; comment lines (starting with ';') and blank
    // lines are left out. The section name is compared without regard to
    // letter case; of two sections with that name, the first is read. When the entries
    // do not fit, the text is cut to capacity - 2 characters as the system
    // cuts it. The result holds no final extra NUL; it is empty when the file
    // or the section is missing or the section has no entries.
    virtual std::string ReadSection(const std::string& path, const std::string& section,
                                    std::size_t capacity) = 0;
};

}  // namespace hw
