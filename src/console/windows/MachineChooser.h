// The machine chooser: every machine queue found on the PC, one a line (its
// queue and port, device instance, firmware text and whether its device
// opens), with Refresh to look again. OK or a double-click on a line chooses
// that machine; the window can be resized.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "console/MachineSession.h"
#include "console/windows/AnchorLayout.h"
#include "ui/Dialog.h"

namespace hw {

namespace chooser_id {
inline constexpr int kDialog = 139;
inline constexpr int kList = 1101;
inline constexpr int kRefresh = 1102;
}  // namespace chooser_id

// How a machine found reads in the chooser's list.
std::string ChooserLine(const FoundMachine& machine);

class MachineChooser : public ui::Dialog, private LayoutTarget {
  public:
    // find lists the machines, at the start and at each Refresh; current is
    // the queue the console is connected to, selected at the start.
    MachineChooser(ui::Application& app, std::function<std::vector<FoundMachine>()> find,
                   std::string current);

    // The queue chosen; empty when none was (Cancel).
    const std::string& Chosen() const { return chosen; }

  protected:
    bool OnInitDialog() override;
    // OK chooses the selected line's machine; with none selected it stays.
    void OnOK() override;
    std::span<const ui::MessageMapEntry> GetMessageMap() const override;

  private:
    void OnRefresh();
    void OnSize(ui::Size client);
    // The list filled anew, the machine selected before selected again.
    void Fill(const std::string& select);
    bool HasControl(int id) const override;
    void MoveControl(int id, const ui::Rect& rect) override;

    static const ui::MessageMapEntry messageMap[];

    std::function<std::vector<FoundMachine>()> find;
    std::vector<FoundMachine> machines;
    std::string current;
    std::string chosen;
    AnchorLayout layout;
};

}  // namespace hw
