// The text rules on Win32: the ANSI code page's own lead-byte table, and the
// system's case-insensitive comparison in the system locale.
#pragma once

#include "platform/device/Text.h"

namespace hw {

class Win32Text final : public Text {
  public:
    bool IsLeadByte(std::uint8_t byte) override;
    bool EqualsIgnoreCase(std::string_view a, std::string_view b) override;
};

}  // namespace hw
