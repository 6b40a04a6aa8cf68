// How the activity log tells the end of a procedure: from the last box it
// showed, how the technician answered it, and why the link last failed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hw {

struct ShownBox {
    std::string text;
    std::uint32_t style = 0;
    int answer = 0;
};

// "cancelled by the technician" after a question answered Cancel or No;
// "failed: <text> (<link failure>)" after an error box (the failure left out
// when the link knows none); the box's own text after any other box; "no
// message" when none was shown.
std::string OutcomeText(const std::optional<ShownBox>& last, std::string_view linkFailure);

}  // namespace hw
