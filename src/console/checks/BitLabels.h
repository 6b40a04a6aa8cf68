// Labels that each show one bit of a machine reply as text: the console's
// seven sensor labels and the panel check's thirteen key labels, with the
// dial label's rule beside them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace hw {

namespace ui {
class Dialog;
}  // namespace ui

struct BitLabel {
    int id;             // the label's control id
    std::size_t byte;   // reply byte, counted from 0
    std::uint8_t mask;  // the bit in that byte
    std::string_view set;
    std::string_view clear;
};

// GetSensorBytes: the reply the console asks for and the labels it feeds, in
// the order they are set. The pump switch is active low.
inline constexpr int kSensorReplyBytes = 13;
// The cover sensor: set while the cover is open.
inline constexpr std::size_t kCoverByte = 5;
inline constexpr std::uint8_t kCoverOpenMask = 0x40;
extern const std::array<BitLabel, 7> kSensorLabels;

// GetPanelKeys: reply byte 0 is the high byte of the panel's key word, byte 1
// its low byte.
inline constexpr int kPanelReplyBytes = 2;
extern const std::array<BitLabel, 13> kPanelLabels;

// The dial label's text for a dial counter: its sign only.
std::string_view DialText(std::int32_t counter);

// Sets each label, in table order, from its bit of reply. The reply must
// hold every byte the table names.
void ShowBitLabels(ui::Dialog& dialog, std::span<const BitLabel> labels,
                   std::span<const std::uint8_t> reply);

}  // namespace hw
