#include "console/checks/BitLabels.h"

#include "ui/Dialog.h"

namespace hw {

const std::array<BitLabel, 7> kSensorLabels = {{
    {1029, 0, 0x08, "LimitX=ON", "LimitX=__"},
    {1030, 0, 0x10, "LimitY=ON", "LimitY=__"},
    {1031, 0, 0x20, "LimitZ=ON", "LimitZ=__"},
    {1035, 2, 0x10, "LimitA=ON", "LimitA=__"},
    {1032, kCoverByte, kCoverOpenMask, "Cover=Open", "Cover=Close"},
    {1033, 5, 0x01, "Z0Nose=ON", "Z0Nose=__"},
    {1034, 4, 0x02, "PumpSW=__", "PumpSW=ON"},
}};

const std::array<BitLabel, 13> kPanelLabels = {{
    {1078, 1, 0x08, "+X=ON", "+X=__"},
    {1079, 0, 0x04, "-X=ON", "-X=__"},
    {1080, 0, 0x10, "+Y=ON", "+Y=__"},
    {1081, 1, 0x02, "-Y=ON", "-Y=__"},
    {1082, 0, 0x08, "+Z=ON", "+Z=__"},
    {1083, 1, 0x01, "-Z=ON", "-Z=__"},
    {1086, 0, 0x02, "RAPID=ON", "RAPID=__"},
    {1077, 1, 0x80, "XY=ON", "XY=__"},
    {1076, 0, 0x20, "Z=ON", "Z=__"},
    {1085, 1, 0x40, "MENU=ON", "MENU=__"},
    {1075, 1, 0x20, "ENTER=ON", "ENTER=__"},
    {1084, 1, 0x10, "SP=ON", "SP=__"},
    {1074, 1, 0x04, "COPY=ON", "COPY=__"},
}};

std::string_view DialText(std::int32_t counter) {
    if (counter < 0) return "Dial=Minus";
    if (counter > 0) return "Dial=Plus";
    return "Dial=__";
}

void ShowBitLabels(ui::Dialog& dialog, std::span<const BitLabel> labels,
                   std::span<const std::uint8_t> reply) {
    for (const BitLabel& label : labels) {
        const bool set = (reply[label.byte] & label.mask) != 0;
        dialog.SetItemText(label.id, set ? label.set : label.clear);
    }
}

}  // namespace hw
