// The main console on real windows (Wine on the build machine), connected to
// the simulated machine: its title, the machine chosen from its system menu, its sensor timer and
// how it follows the machine being unplugged and plugged back in, one calibration through the real
// controls and message box, the aging run stopped from the real progress window, a backlash run
// watched by the real timer, and the About box on the version block of this test program, which is
// built with the program's own resources.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "ConsoleOnWine.h"
#include "KeyPresses.h"
#include "StandInBrowser.h"
#include "WindowCapture.h"
#include "console/ConsoleApp.h"
#include "console/ConsoleIds.h"
#include "console/windows/AboutDialog.h"
#include "console/windows/MachineChooser.h"
#include "platform/win32/Win32ProgramFile.h"

namespace hw::test {
namespace {

// The same with a second machine on the simulated PC.
class TwoMachinesOnWine : public ConsoleOnWine {
  protected:
    void SetUp() override {
        sim.AddMachine(kSimSecondQueueName, kSimSecondPortName, SecondMachineConfig());
        ConsoleOnWine::SetUp();
    }
};

TEST_F(ConsoleOnWine, ConnectsAndShowsTheQueueInTheTitle) {
    EXPECT_EQ(Title(), "Hexwarden - QMV-240 on USB001");
    EXPECT_TRUE(console.IsConnected());
    EXPECT_GT(console.SensorTimerId(), 0);
    EXPECT_TRUE(ItemEnabled(console_id::kBacklashCheck));
    const HMENU menu = GetSystemMenu(Window(), FALSE);
    char about[64] = {};
    GetMenuStringA(menu, 16, about, sizeof about, MF_BYCOMMAND);
    EXPECT_STREQ(about, "&About Hexwarden...");
    char bundle[64] = {};
    GetMenuStringA(menu, console_id::kBundleCommand, bundle, sizeof bundle, MF_BYCOMMAND);
    EXPECT_STREQ(bundle, "Save Service &Bundle...");
}

// The technician picks Save Service Bundle from the real system menu, names
// the file in the real save dialog and answers "Completed"; the archive it
// leaves on disk is opened with Python's zipfile by the next ctest entry.
TEST_F(ConsoleOnWine, SavesTheServiceBundleFromTheSystemMenu) {
    std::string path = HW_WINE_BUNDLE_PATH;
    std::replace(path.begin(), path.end(), '/', '\\');
    DeleteFileA(path.c_str());
    std::string completed;
    std::thread technician([&] {
        HWND save = OwnedDialog(Window(), "Hexwarden", false);
        if (save == nullptr) return;
        // The name box of the old-style and of the explorer-style dialog.
        for (int nameBox : {0x47C, 0x480}) SetDlgItemTextA(save, nameBox, path.c_str());
        PostMessageA(save, WM_COMMAND, IDOK, 0);
        HWND box = OwnedDialog(Window(), "Hexwarden");
        if (box == nullptr) return;
        char text[512] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        completed = text;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    SendMessageA(Window(), WM_SYSCOMMAND, console_id::kBundleCommand, 0);
    technician.join();
    EXPECT_EQ(completed, "Completed\n" + path);
    EXPECT_GT(console.SensorTimerId(), 0);
}

TEST_F(ConsoleOnWine, FollowsUnplugAndPlugBackIn) {
    sim.Unplug();
    EXPECT_EQ(DeviceChange(), 1);
    EXPECT_EQ(Title(), "Hexwarden - OFFLINE");
    EXPECT_FALSE(console.IsConnected());
    EXPECT_FALSE(ItemEnabled(console_id::kBacklashCheck));
    sim.PlugIn();
    EXPECT_EQ(DeviceChange(), 1);
    EXPECT_EQ(Title(), "Hexwarden - QMV-240 on USB001");
    EXPECT_TRUE(console.IsConnected());
    EXPECT_GT(console.SensorTimerId(), 0);
    EXPECT_TRUE(ItemEnabled(console_id::kBacklashCheck));
}

// Offline, the sensor labels are drawn grey: no pixel of them is as dark as
// the black text of a live label.
TEST_F(ConsoleOnWine, SensorLabelsAreDrawnGreyWhileOffline) {
    ShowWindow(Window(), SW_SHOWNORMAL);
    const auto darkest = [&] {
        Settle(windows, Window());
        RECT label{};
        GetWindowRect(GetDlgItem(Window(), console_id::kLimitX), &label);
        MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&label), 2);
        DWORD least = 3 * 255;
        for (DWORD pixel : CaptureClient(Window(), label)) {
            least = std::min(least, (pixel & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel >> 16));
        }
        return least / 3;
    };
    EXPECT_LT(darkest(), 64u);
    sim.Unplug();
    DeviceChange();
    EXPECT_GT(darkest(), 64u);
}

TEST_F(ConsoleOnWine, OtherDeviceEventsLeaveTheConsoleAlone) {
    sim.Unplug();
    EXPECT_EQ(SendMessageA(Window(), WM_DEVICECHANGE, 0x8000, 0), 1);
    EXPECT_EQ(Title(), "Hexwarden - QMV-240 on USB001");
    EXPECT_TRUE(console.IsConnected());
}

// The technician types a scale into the real edits, clicks Write XY and
// answers the real "Completed" box; the machine then holds the new scales.
TEST_F(ConsoleOnWine, WriteXYTakesTheEditsToTheMachine) {
    std::string shown;
    std::thread technician([&shown] {
        using namespace std::chrono_literals;
        HWND box = nullptr;
        for (int i = 0; i < 500 && box == nullptr; ++i) {
            std::this_thread::sleep_for(10ms);
            box = FindWindowA("#32770", "Hexwarden");
        }
        if (box == nullptr) return;
        char text[64] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        shown = text;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    SetDlgItemTextA(Window(), console_id::kCorrectionX, "100.123");
    SetDlgItemTextA(Window(), console_id::kCorrectionY, " 99.5");
    SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(console_id::kWriteXY, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(Window(), console_id::kWriteXY)));
    technician.join();
    EXPECT_EQ(shown, "Completed");
    EXPECT_EQ(sim.Machine().Parameters().Scale(0), 100123);
    EXPECT_EQ(sim.Machine().Parameters().Scale(1), 99500);
    EXPECT_EQ(sim.Machine().Parameters().Scale(2), 100000);
}

TEST_F(ConsoleOnWine, AboutBoxShowsTheProgramFilesVersionBlock) {
    AboutDialog about(app, versions, Win32ProgramFile().Path());
    ASSERT_TRUE(about.Create(ui::kNoWindow));
    const auto window = reinterpret_cast<HWND>(about.window());
    char text[3][128] = {};
    GetDlgItemTextA(window, about_id::kVersion, text[0], sizeof text[0]);
    GetDlgItemTextA(window, about_id::kCopyright, text[1], sizeof text[1]);
    GetWindowTextA(window, text[2], sizeof text[2]);
    about.DestroyWindow();
    EXPECT_STREQ(text[0], "Version 1, 0, 0, 0");
    // The block's line, which the fallback line is not.
    EXPECT_STREQ(text[1], "Copyright (C) 2026 Hexwarden developers");
    EXPECT_STRNE(text[1], kFixedCopyright);
    EXPECT_STREQ(text[2], "About Hexwarden");
}

// The technician starts the aging run: the progress window comes up over the
// disabled console, and its real Stop button ends the watch and the run.
// Choose Machine from the real system menu command; the technician
// double-clicks the second machine's line with the mouse.
TEST_F(TwoMachinesOnWine, ChoosesTheMachineDoubleClickedInTheChooser) {
    ASSERT_EQ(Title(), "Hexwarden - QMV-240 on USB001");
    int lines = 0;
    std::thread technician([&] {
        HWND chooser = nullptr;
        for (int i = 0; i < 500 && chooser == nullptr; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            chooser = FindWindowA(nullptr, "Choose Machine");
        }
        if (chooser == nullptr) return;
        HWND list = GetDlgItem(chooser, chooser_id::kList);
        lines = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        RECT line{};
        SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&line));
        const LPARAM at = MAKELPARAM(line.left + 4, (line.top + line.bottom) / 2);
        for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
            PostMessageA(list, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
        }
        // A chooser still up after the double-click is cancelled, so that the test ends.
        for (int i = 0; i < 100 && IsWindow(chooser); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (IsWindow(chooser)) PostMessageA(chooser, WM_COMMAND, IDCANCEL, 0);
    });
    SendMessageA(Window(), WM_SYSCOMMAND, console_id::kChooseCommand, 0);
    technician.join();
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(Title(), "Hexwarden - QMV-240 (Copy 1) on USB002");
    EXPECT_EQ(userSettings.Read(kChosenMachineSetting), kSimSecondQueueName);
}

TEST_F(ConsoleOnWine, StopInTheProgressWindowEndsTheAgingRun) {
    HWND progress = nullptr;
    bool consoleDisabled = false;
    std::thread technician([&] {
        for (int i = 0; i < 500 && progress == nullptr; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            progress = FindWindowA(nullptr, "Run Aging");
        }
        // Without the window the run is ended at the machine, so that the test ends.
        if (progress == nullptr) sim.WithMachine([](SimMachine& m) { m.CancelProcedure(); });
        consoleDisabled = IsWindowEnabled(Window()) == FALSE;
        PostMessageA(GetDlgItem(progress, IDCANCEL), BM_CLICK, 0, 0);
    });
    SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(console_id::kStartAging, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(Window(), console_id::kStartAging)));
    technician.join();
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(consoleDisabled);
    EXPECT_FALSE(IsWindow(progress));
    EXPECT_TRUE(IsWindowEnabled(Window()));
    EXPECT_FALSE(sim.WithMachine([](SimMachine& machine) { return machine.ProcedureRunning(); }));
}

// Enter typed into the serial number edit, Enter on the focused Close
// button and Esc, from the keyboard through the dialog manager: the console
// stays up with what was typed; the close box closes it.
TEST_F(ConsoleOnWine, EnterAndEscapeFromTheKeyboardLeaveTheConsoleUp) {
    HWND edit = GetDlgItem(Window(), console_id::kSerialNumber);
    SetForegroundWindow(Window());
    SetWindowTextA(edit, "AB12345");
    for (const auto& [focus, key] : {std::pair{edit, VK_RETURN},
                                     std::pair{GetDlgItem(Window(), console_id::kClose), VK_RETURN},
                                     std::pair{edit, VK_ESCAPE}}) {
        SetFocus(focus);
        KeyUpWatch watch(GetCurrentThreadId(), static_cast<WORD>(key));
        ASSERT_TRUE(watch.Hooked());
        ASSERT_TRUE(PressKey(static_cast<WORD>(key)));
        for (int i = 0; i < 500 && watch.KeyUps() == 0; ++i) {
            windows.messages.PumpMessages(console.window());
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ASSERT_EQ(watch.KeyUps(), 1) << "the key did not arrive";
        ASSERT_TRUE(IsWindowVisible(Window())) << key;
    }
    char typed[16] = {};
    GetWindowTextA(edit, typed, sizeof typed);
    EXPECT_STREQ(typed, "AB12345");
    // The close box still closes it.
    SendMessageA(Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindowVisible(Window()));
}

// Enter from the keyboard in the progress window, whose focused default
// button is Stop, leaves the aging run going; then Stop ends it.
TEST_F(ConsoleOnWine, EnterInTheProgressWindowDoesNotStopTheRun) {
    KeyUpWatch watch(GetCurrentThreadId(), VK_RETURN);
    ASSERT_TRUE(watch.Hooked());
    bool upAfterEnter = false;
    bool runningAfterEnter = false;
    std::thread technician([&] {
        HWND progress = nullptr;
        for (int i = 0; i < 500 && progress == nullptr; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            progress = FindWindowA(nullptr, "Run Aging");
        }
        // The technician's keys go to the progress window, as to any
        // window that has just come up.
        if (progress != nullptr && SetForegroundWindow(progress) && PressKey(VK_RETURN)) {
            for (int i = 0; i < 500 && watch.KeyUps() == 0; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            // The key has been handled. The watch reads the machine's clock
            // on every pass: once it has moved on by many passes, a Stop the
            // key made would long have ended the watch and the window.
            const std::uint64_t handled = clock.Peek();
            for (int i = 0; i < 500 && IsWindow(progress) && clock.Peek() < handled + 500; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            upAfterEnter = watch.KeyUps() == 1 && IsWindow(progress);
            runningAfterEnter =
                sim.WithMachine([](SimMachine& machine) { return machine.ProcedureRunning(); });
        }
        if (progress != nullptr) PostMessageA(GetDlgItem(progress, IDCANCEL), BM_CLICK, 0, 0);
        // Without the window the run is ended at the machine, so that the test ends.
        if (progress == nullptr) sim.WithMachine([](SimMachine& m) { m.CancelProcedure(); });
    });
    SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(console_id::kStartAging, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(Window(), console_id::kStartAging)));
    technician.join();
    EXPECT_TRUE(upAfterEnter);
    EXPECT_TRUE(runningAfterEnter);
    EXPECT_FALSE(sim.WithMachine([](SimMachine& machine) { return machine.ProcedureRunning(); }));
}

// The technician answers the question Yes; the dialog's real timer watches
// the worker thread measure until it reads "Completed", then "OK" closes it.
TEST_F(ConsoleOnWine, BacklashRunOnAWorkerThreadWatchedByTheDialogTimer) {
    std::string ended;
    std::thread technician([&] {
        using namespace std::chrono_literals;
        auto find = [](const char* caption) {
            HWND window = nullptr;
            for (int i = 0; i < 1000 && window == nullptr; ++i) {
                std::this_thread::sleep_for(10ms);
                window = FindWindowA("#32770", caption);
            }
            return window;
        };
        HWND box = find("Hexwarden");
        if (box == nullptr) return;
        PostMessageA(box, WM_COMMAND, IDYES, 0);
        HWND check = find("Check Backlash");
        if (check == nullptr) return;
        for (int i = 0; i < 3000 && ended.empty(); ++i) {
            std::this_thread::sleep_for(10ms);
            char status[32] = {};
            GetDlgItemTextA(check, 1055, status, sizeof status);
            char button[32] = {};
            GetDlgItemTextA(check, IDCANCEL, button, sizeof button);
            if (std::string(button) == "OK") ended = status;
        }
        PostMessageA(check, WM_COMMAND, IDCANCEL, 0);
    });
    SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(console_id::kBacklashCheck, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(Window(), console_id::kBacklashCheck)));
    technician.join();
    EXPECT_EQ(ended, "Completed");
}

// F1 on the real console: the shell opens the manual beside the program file
// with the program registered for ".html", here a stand-in that writes the
// path it was given to a file.
TEST_F(ConsoleOnWine, F1OpensTheManualBesideTheProgramInTheBrowser) {
    char temp[MAX_PATH] = {};
    ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
    const std::string folder = std::string(temp) + "hw-manual-test";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string page = folder + "\\Hexwarden.html";
    const std::string log = folder + "\\opened.txt";
    DeleteFileA(log.c_str());
    ASSERT_TRUE(std::ofstream(page) << "<html></html>");
    struct BesidePage final : ProgramFile {
        std::string path;
        std::string Path() override { return path; }
    } program;
    program.path = folder + "\\Hexwarden.exe";
    const StandInBrowser browser(log);
    ASSERT_TRUE(browser.Registered());
    const ConsoleApp consoleApp({app, link, program, files, settings, versions, userSettings});
    HELPINFO info{sizeof info, HELPINFO_WINDOW, IDOK, Window(), 0, {0, 0}};
    SendMessageA(Window(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    // The shell starts the stand-in on its own; its file appears once it ran.
    std::string opened;
    for (int i = 0; i < 300 && opened.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        std::getline(std::ifstream(log), opened);
    }
    opened.erase(
        std::remove_if(opened.begin(), opened.end(), [](char c) { return c == '"' || c == '\r'; }),
        opened.end());
    while (!opened.empty() && opened.back() == ' ') opened.pop_back();
    EXPECT_EQ(
        CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, opened.c_str(), -1, page.c_str(), -1),
        CSTR_EQUAL)
        << opened;
    DeleteFileA(log.c_str());
    DeleteFileA(page.c_str());
    RemoveDirectoryA(folder.c_str());
}

}  // namespace
}  // namespace hw::test
