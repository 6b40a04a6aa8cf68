// Reading one section of an INI text as the system's section read does.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace hw {

// The entries of the first section named section in text, as
// SettingsFile::ReadSection returns them (see there): empty when the text
// has no such section or the section has no entries.
std::string ReadIniSection(std::string_view text, std::string_view section, std::size_t capacity);

}  // namespace hw
