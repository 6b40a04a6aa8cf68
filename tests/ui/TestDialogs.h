// Dialogs for the framework's tests, on templates of their own: a window with
// an edit, a radio group with a label inside it, buttons and a check box,
// and a small child dialog.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/Application.h"
#include "ui/Controls.h"
#include "ui/DataExchange.h"
#include "ui/Dialog.h"
#include "ui/headless/HeadlessWindowSystem.h"
#include "ui/headless/ResourceScript.h"

namespace hw::test {

inline constexpr int kTestDialog = 200;
inline constexpr int kChildDialog = 201;

inline const ui::ResourceScript& TestResources() {
    static const ui::ResourceScript script = ui::ParseResourceScript(R"(
200 DIALOGEX 0, 0, 200, 100
STYLE DS_MODALFRAME | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU
CAPTION "Test"
FONT 8, "MS Sans Serif"
BEGIN
    CONTROL "OK", 1, "Button", BS_DEFPUSHBUTTON | WS_TABSTOP, 150, 5, 40, 14
    CONTROL "start", 10, "Edit", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 5, 5, 40, 14
    CONTROL "first", 20, "Button", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 5, 25, 40, 10
    CONTROL "second", 21, "Button", BS_AUTORADIOBUTTON, 50, 25, 40, 10
    CONTROL "inside", -1, "Static", SS_LEFT, 95, 25, 20, 10
    CONTROL "third", 22, "Button", BS_AUTORADIOBUTTON, 120, 25, 40, 10
    CONTROL "go", 30, "Button", BS_PUSHBUTTON | WS_GROUP | WS_TABSTOP, 5, 45, 40, 14
    CONTROL "off", 31, "Button", BS_PUSHBUTTON | WS_DISABLED, 50, 45, 40, 14
    CONTROL "hidden", 32, "Button", BS_PUSHBUTTON | NOT WS_VISIBLE, 95, 45, 40, 14
    CONTROL "mark", 40, "Button", BS_AUTOCHECKBOX | WS_GROUP, 5, 65, 40, 10
    CONTROL "label", 50, "Static", SS_LEFT, 50, 65, 40, 10
END
201 DIALOGEX 0, 0, 80, 40
STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION
CAPTION "Child"
BEGIN
    CONTROL "Cancel", 2, "Button", BS_PUSHBUTTON | WS_TABSTOP, 5, 5, 40, 14
END
STRINGTABLE
BEGIN
    101 "&About Test..."
END
128 ICON "test.ico"
)");
    return script;
}

// A headless window system and application over the test templates.
struct Ui {
    ui::HeadlessWindowSystem windows{TestResources()};
    ui::Application app{windows, "Prog"};
};

// The dialog on template 200: records what its handlers saw.
class TestDialog : public ui::Dialog {
  public:
    explicit TestDialog(ui::Application& app) : Dialog(app, kTestDialog) {}

    ui::EditControl edit;
    int choice = 0;
    std::string label = "bound";
    std::vector<std::string> calls;
    // Run by the "go" button (30).
    std::function<void()> onGo;
    bool leaveSysCommandToDefault = true;
    // A key the dialog takes before the dialog manager; 0: none.
    std::uintptr_t takenKey = 0;

    bool PreTranslateMessage(const ui::Message& m) override {
        return takenKey != 0 && ui::IsKeyDown(m, takenKey);
    }

  protected:
    void DoDataExchange(ui::DataExchange& dx) override {
        dx.Control(10, edit);
        dx.Radio(20, choice);
        dx.Text(50, label);
    }
    void OnOK() override {
        calls.push_back("OnOK");
        Dialog::OnOK();
    }
    void OnCancel() override {
        calls.push_back("OnCancel");
        Dialog::OnCancel();
    }
    std::span<const ui::MessageMapEntry> GetMessageMap() const override;

  private:
    void OnGo() {
        calls.push_back("go");
        if (onGo) onGo();
    }
    void OnFirst() { calls.push_back("first"); }
    void OnRange() { calls.push_back("range"); }
    void OnTimer(std::uintptr_t event) { calls.push_back("timer " + std::to_string(event)); }
    void OnSysCommand(std::uintptr_t command) {
        calls.push_back(command == ui::kScClose ? "syscommand"
                                                : "syscommand " + std::to_string(command));
        if (leaveSysCommandToDefault) Default();
    }
    bool OnDeviceChange(std::uintptr_t event, std::intptr_t data) {
        calls.push_back("device " + std::to_string(event) +
                        (data != 0 ? " " + std::to_string(data) : ""));
        return true;
    }
    void OnSize(ui::Size client) {
        calls.push_back("size " + std::to_string(client.width) + "x" +
                        std::to_string(client.height));
    }
    std::intptr_t OnNcHitTest(ui::Point screen) {
        calls.push_back("hit " + std::to_string(screen.x) + "," + std::to_string(screen.y));
        return ui::kHtBottomRight;
    }

    static const ui::MessageMapEntry messageMap[];
};

inline constinit const ui::MessageMapEntry TestDialog::messageMap[] = {
    ui::OnCommand<&TestDialog::OnGo>(30),
    ui::OnCommand<&TestDialog::OnFirst>(20),
    ui::OnTimer<&TestDialog::OnTimer>(),
    ui::OnCommandRange<&TestDialog::OnRange>(20, 40),
    ui::OnCommand<&TestDialog::OnFirst>(21),  // never reached: the range claims 21 first
    ui::OnSysCommand<&TestDialog::OnSysCommand>(),
    ui::OnDeviceChange<&TestDialog::OnDeviceChange>(),
    ui::OnSize<&TestDialog::OnSize>(),
    ui::OnNcHitTest<&TestDialog::OnNcHitTest>(),
};

inline std::span<const ui::MessageMapEntry> TestDialog::GetMessageMap() const {
    return messageMap;
}

// The dialog on template 201.
class ChildDialog : public ui::Dialog {
  public:
    explicit ChildDialog(ui::Application& app) : Dialog(app, kChildDialog) {}
};

}  // namespace hw::test
