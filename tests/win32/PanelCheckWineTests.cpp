// The panel check and the demonstration's control window on real windows
// (Wine on the build machine), on the simulated machine: the check's template
// as the dialog manager builds it, its labels following the machine on the
// real 200 ms timer, a modal run ended with Exit, and the control window's
// boxes, three-state ones among them, reaching the machine.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "console/windows/PanelCheckDialog.h"
#include "sim/control/SimControlWindow.h"
#include "sim/pc/SimEnvironment.h"
#include "ui/Application.h"
#include "ui/win32/Win32WindowSystem.h"

namespace hw::test {
namespace {

using namespace std::chrono_literals;

std::string TextOf(HWND hwnd) {
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

class PanelCheckOnWine : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(link.FindPrinters(kSimDriverName), 1);
        ASSERT_TRUE(link.Connect(*link.PrinterName(0), 0, 32, false));
    }

    std::string Label(HWND dialog, int id) const { return TextOf(GetDlgItem(dialog, id)); }

    // Pumps messages until done() holds or five seconds have passed.
    template <class Done>
    bool PumpUntil(ui::WindowId window, Done done) {
        const auto end = std::chrono::steady_clock::now() + 5s;
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            windows.messages.PumpMessages(window);
            std::this_thread::sleep_for(5ms);
        }
        return true;
    }

    TestClock clock{1};
    SimEnvironment sim{clock};
    MachineLink link{sim.Platform()};
    ui::Win32WindowSystem windows;
    ui::Application app{windows, "Hexwarden"};
};

TEST_F(PanelCheckOnWine, TemplateAsTheDialogManagerBuildsIt) {
    PanelCheckDialog check(app, link);
    ASSERT_TRUE(check.Create(ui::kNoWindow));
    const auto hwnd = reinterpret_cast<HWND>(check.window());
    EXPECT_EQ(TextOf(hwnd), "Check Panel");
    const auto style = static_cast<std::uint32_t>(GetWindowLongA(hwnd, GWL_STYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), WS_POPUP | WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    LOGFONTA font{};
    ASSERT_NE(GetObjectA(reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)), sizeof font,
                         &font),
              0);
    EXPECT_STREQ(font.lfFaceName, "Arial");

    const std::vector<std::pair<int, std::string>> controls = {
        {2, "Exit"},   {1077, "XY="},   {1085, "MENU="}, {1075, "ENTER="}, {1084, "SP="},
        {1080, "+Y="}, {1082, "+Z="},   {1076, "Z="},    {1079, "-X="},    {1086, "Rapid="},
        {1078, "+X="}, {1087, "Dial="}, {1074, "COPY="}, {1081, "-Y="},    {1083, "-Z="}};
    std::vector<std::pair<int, std::string>> found;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        found.emplace_back(GetDlgCtrlID(child), TextOf(child));
    }
    EXPECT_EQ(found, controls);
    RECT exit{162, 59, 50, 12};
    ASSERT_TRUE(MapDialogRect(hwnd, &exit));
    EXPECT_EQ(check.ItemRect(2),
              (ui::Rect{exit.left, exit.top, exit.left + exit.right, exit.top + exit.bottom}));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hwnd, 2)));
    EXPECT_FALSE(sim.Machine().PanelOperation());
}

TEST_F(PanelCheckOnWine, LabelsFollowTheMachineOnTheTimer) {
    PanelCheckDialog check(app, link);
    ASSERT_TRUE(check.Create(ui::kNoWindow));
    const auto hwnd = reinterpret_cast<HWND>(check.window());
    sim.WithMachine([](SimMachine& m) { m.SetKeys(0x0008 | 0x0400); });
    EXPECT_TRUE(PumpUntil(check.window(), [&] { return Label(hwnd, 1078) == "+X=ON"; }));
    EXPECT_EQ(Label(hwnd, 1079), "-X=ON");
    EXPECT_EQ(Label(hwnd, 1080), "+Y=__");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hwnd, 2)));
    EXPECT_EQ(GetFocus(), GetDlgItem(hwnd, 2));

    sim.WithMachine([](SimMachine& m) {
        m.SetKeys(0);
        m.TurnDial(-1);
    });
    EXPECT_TRUE(PumpUntil(check.window(), [&] { return Label(hwnd, 1078) == "+X=__"; }));
    EXPECT_EQ(Label(hwnd, 1087), "Dial=Minus");
}

// Under Xvfb no window manager runs: a window left to one waits 2 s each time
// it is hidden, so Exit (and every other dialog's end) would hang that long.
// The prefix the tests and the demo run in has Wine frame its windows itself.
TEST(WinePrefix, FramesItsWindowsItself) {
    char value[8] = {};
    DWORD size = sizeof value;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", "Managed",
                           RRF_RT_REG_SZ, nullptr, value, &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(value, "N");
}

TEST_F(PanelCheckOnWine, ExitEndsTheModalCheckAndHandsThePanelBack) {
    std::atomic<bool> sawKey = false;
    std::thread technician([&] {
        HWND hwnd = nullptr;
        for (int i = 0; i < 300 && hwnd == nullptr; ++i) {
            std::this_thread::sleep_for(10ms);
            hwnd = FindWindowA(nullptr, "Check Panel");
        }
        if (hwnd == nullptr) return;
        sim.WithMachine([](SimMachine& m) { m.SetKeys(0x0040); });
        for (int i = 0; i < 300 && !sawKey; ++i) {
            std::this_thread::sleep_for(10ms);
            sawKey = Label(hwnd, 1085) == "MENU=ON" && IsWindowEnabled(GetDlgItem(hwnd, 2));
        }
        PostMessageA(GetDlgItem(hwnd, 2), BM_CLICK, 0, 0);
    });
    PanelCheckDialog check(app, link);
    EXPECT_EQ(check.DoModal(), IDCANCEL);
    technician.join();
    EXPECT_TRUE(sawKey);
    EXPECT_TRUE(sim.Machine().PanelOperation());
    EXPECT_EQ(sim.Machine().PanelText(), "\x7F");
    EXPECT_EQ(sim.Machine().PanelTextTime(), 254);
}

TEST_F(PanelCheckOnWine, LostConnectionMessageKeepsItsLinesAndQuotes) {
    EXPECT_EQ(windows.shell.LoadStringResource(124),
              "The communication was disconnected.\n\"Check Panel\" can't stop in an orderly "
              "manner.\nPlease check the connection and retry \"Check Panel\".");
}

TEST_F(PanelCheckOnWine, ControlWindowBoxesReachTheMachine) {
    SimControlWindow controls(app, sim);
    ASSERT_TRUE(controls.Create(ui::kNoWindow));
    const auto hwnd = reinterpret_cast<HWND>(controls.window());
    EXPECT_EQ(TextOf(hwnd), "Simulated QMV-240 - QMV-240 on USB001");
    EXPECT_TRUE(IsWindowVisible(hwnd));
    // At its origin the X switch follows its axis, which stands on it; a
    // click holds it open.
    EXPECT_EQ(IsDlgButtonChecked(hwnd, 901), BST_INDETERMINATE);
    EXPECT_EQ(TextOf(GetDlgItem(hwnd, 901)), "Limit X: on");
    SendDlgItemMessageA(hwnd, 901, BM_CLICK, 0, 0);
    EXPECT_EQ(sim.Machine().LimitSwitchHold(kSimAxisX), false);
    EXPECT_EQ(TextOf(GetDlgItem(hwnd, 901)), "Limit X: off");
    SendDlgItemMessageA(hwnd, 905, BM_CLICK, 0, 0);
    EXPECT_NE(sim.Machine().SensorBytes()[5] & 0x40, 0);
    EXPECT_EQ(IsDlgButtonChecked(hwnd, 905), BST_CHECKED);
    SendDlgItemMessageA(hwnd, 921, BM_CLICK, 0, 0);
    EXPECT_EQ(sim.Machine().PanelKeys(), 0x0020);
    SendDlgItemMessageA(hwnd, sim_control_id::kUnplug, BM_CLICK, 0, 0);
    EXPECT_FALSE(sim.Plugged());
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hwnd, sim_control_id::kUnplug)));
    // The close box closes the window only (the dialog manager posts its
    // Cancel command).
    SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(PumpUntil(controls.window(), [&] { return IsWindow(hwnd) == FALSE; }));
    EXPECT_EQ(controls.window(), ui::kNoWindow);
}

}  // namespace
}  // namespace hw::test
