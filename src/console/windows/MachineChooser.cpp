#include "console/windows/MachineChooser.h"

#include <utility>

#include "ui/Application.h"

namespace hw {

namespace {

// The list grows with the window; the buttons keep to the bottom edge, OK
// and Cancel to the bottom-right corner.
struct Anchor {
    int controlId;
    std::uint32_t flags;
};
constexpr Anchor kAnchors[] = {
    {chooser_id::kList, LAYOUT_SIZE_X | LAYOUT_SIZE_Y},
    {chooser_id::kRefresh, LAYOUT_MOVE_Y},
    {ui::kIdOk, LAYOUT_MOVE_X | LAYOUT_MOVE_Y},
    {ui::kIdCancel, LAYOUT_MOVE_X | LAYOUT_MOVE_Y},
};

}  // namespace

std::string ChooserLine(const FoundMachine& machine) {
    std::string line = machine.port.empty() ? machine.queue : machine.queue + " on " + machine.port;
    line += "   " + (machine.instance.empty() ? std::string("no device") : machine.instance);
    line +=
        "   " + (machine.firmware.empty() ? std::string("firmware not read") : machine.firmware);
    line += machine.connects ? "   connected" : "   absent";
    return line;
}

constinit const ui::MessageMapEntry MachineChooser::messageMap[] = {
    ui::OnCommand<&MachineChooser::OnRefresh>(chooser_id::kRefresh),
    ui::OnCommand<&MachineChooser::OnOK>(chooser_id::kList, ui::kLbnDblClk),
    ui::OnSize<&MachineChooser::OnSize>(),
};

std::span<const ui::MessageMapEntry> MachineChooser::GetMessageMap() const {
    return messageMap;
}

MachineChooser::MachineChooser(ui::Application& app,
                               std::function<std::vector<FoundMachine>()> find, std::string current)
    : ui::Dialog(app, chooser_id::kDialog), find(std::move(find)), current(std::move(current)) {}

bool MachineChooser::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    const ui::Rect client = ClientRect();
    layout.Start(client.Width(), client.Height());
    for (const Anchor& anchor : kAnchors) {
        if (const auto rect = ItemRect(anchor.controlId)) {
            layout.Add({*rect, anchor.controlId, anchor.flags});
        }
    }
    Fill(current);
    return true;
}

void MachineChooser::Fill(const std::string& select) {
    machines = find();
    std::vector<std::string> lines;
    int selected = -1;
    for (const FoundMachine& machine : machines) {
        if (machine.queue == select) selected = static_cast<int>(lines.size());
        lines.push_back(ChooserLine(machine));
    }
    app().lists().SetListLines(window(), chooser_id::kList, lines);
    app().lists().SelectListLine(window(), chooser_id::kList, selected);
}

void MachineChooser::OnRefresh() {
    const int selected = app().lists().SelectedListLine(window(), chooser_id::kList);
    const bool inside = selected >= 0 && static_cast<std::size_t>(selected) < machines.size();
    Fill(inside ? machines[static_cast<std::size_t>(selected)].queue : current);
}

void MachineChooser::OnOK() {
    const int selected = app().lists().SelectedListLine(window(), chooser_id::kList);
    if (selected < 0 || static_cast<std::size_t>(selected) >= machines.size()) return;
    chosen = machines[static_cast<std::size_t>(selected)].queue;
    EndDialog(ui::kIdOk);
}

void MachineChooser::OnSize(ui::Size client) {
    if (layout.Count() != 0) layout.Resize(client.width, client.height, *this);
}

bool MachineChooser::HasControl(int id) const {
    return HasItem(id);
}

void MachineChooser::MoveControl(int id, const ui::Rect& rect) {
    MoveItem(id, rect);
}

}  // namespace hw
