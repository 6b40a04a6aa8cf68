#include "console/bundle/ProcedureOutcome.h"

#include "ui/Types.h"

namespace hw {

namespace {

constexpr std::uint32_t kButtonsMask = 0x0F;
constexpr std::uint32_t kIconMask = 0xF0;

bool AnsweredNo(const ShownBox& box) {
    const std::uint32_t buttons = box.style & kButtonsMask;
    return buttons != ui::kMbOk && (box.answer == ui::kIdCancel || box.answer == ui::kIdNo);
}

}  // namespace

std::string OutcomeText(const std::optional<ShownBox>& last, std::string_view linkFailure) {
    if (!last) return "no message";
    if (AnsweredNo(*last)) return "cancelled by the technician";
    if ((last->style & kIconMask) != ui::kMbIconHand) return last->text;
    std::string text = "failed: " + last->text;
    if (!linkFailure.empty()) text += " (" + std::string(linkFailure) + ")";
    return text;
}

}  // namespace hw
