// The ANSI code page of the simulated PC: a single-byte one in which only
// ASCII letters have case, or the Japanese double-byte code page 932 (lead
// bytes 0x81-0x9F and 0xE0-0xFC; ASCII and full-width Latin letters fold).
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/device/Text.h"

namespace hw {

class SimText final : public Text {
  public:
    enum class CodePage { SingleByte, Japanese932 };

    explicit SimText(CodePage codePage = CodePage::SingleByte) : codePage_(codePage) {}

    bool IsLeadByte(std::uint8_t byte) override;
    bool EqualsIgnoreCase(std::string_view a, std::string_view b) override;

  private:
    CodePage codePage_;
};

}  // namespace hw
