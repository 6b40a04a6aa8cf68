// The main console shown modeless on real windows (Wine on the build
// machine), connected to the simulated machine, so that a test can act on
// it; and how a test finds a window the console owns.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "console/ConsoleDialog.h"
#include "fakes/FixedProgramFile.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32SettingsFile.h"
#include "platform/win32/Win32Utf8.h"
#include "platform/win32/Win32VersionBlocks.h"
#include "sim/pc/SimEnvironment.h"
#include "sim/pc/SimUserSettings.h"
#include "ui/win32/Win32WindowSystem.h"

namespace hw::test {

class ConsoleOnWine : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(console.Create(ui::kNoWindow)); }
    void TearDown() override { console.DestroyWindow(); }

    HWND Window() const { return reinterpret_cast<HWND>(console.window()); }
    std::string Title() const {
        char text[256] = {};
        GetWindowTextA(Window(), text, sizeof text);
        return text;
    }
    bool ItemEnabled(int id) const { return IsWindowEnabled(GetDlgItem(Window(), id)) != FALSE; }
    LRESULT DeviceChange() {
        return SendMessageA(Window(), WM_DEVICECHANGE, ui::kDbtDevNodesChanged, 0);
    }

    TestClock clock{1};
    SimEnvironment sim{clock};
    ui::Win32WindowSystem windows;
    ui::Application app{windows, "Hexwarden"};
    FixedProgramFile programFile;
    Win32FileSystem files;
    Win32SettingsFile settings;
    Win32VersionBlocks versions;
    const LinkPlatform link = sim.Link(app.alerts());
    SimUserSettings userSettings;
    ConsoleDialog console{{app, link, programFile, files, settings, versions, userSettings}};
};

// The first dialog owned by owner whose caption is, or (is false) is not,
// caption, waited for up to 10 s; nullptr when none came.
inline HWND OwnedDialog(HWND owner, const char* caption, bool is = true) {
    for (int i = 0; i < 1000; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        HWND window = nullptr;
        while ((window = FindWindowExA(nullptr, window, "#32770", nullptr)) != nullptr) {
            char text[128] = {};
            GetWindowTextA(window, text, sizeof text);
            if (GetWindow(window, GW_OWNER) == owner && (caption == std::string(text)) == is)
                return window;
        }
    }
    return nullptr;
}

// While it lives, every box the console shows ("Hexwarden") is noted and
// answered, so that a test whose console shows one unexpectedly still ends.
class BoxAnswerer {
  public:
    BoxAnswerer()
        : thread([this] {
              while (!done) {
                  if (HWND box = FindWindowW(L"#32770", L"Hexwarden")) {
                      wchar_t text[512] = {};
                      GetDlgItemTextW(box, 0xFFFF, text, 512);
                      boxes.push_back(Narrow(text));
                      PostMessageW(box, WM_COMMAND, IDOK, 0);
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(10));
              }
          }) {}
    ~BoxAnswerer() { Boxes(); }
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    // Ends the answering; the texts of the boxes answered.
    const std::vector<std::string>& Boxes() {
        done = true;
        if (thread.joinable()) thread.join();
        return boxes;
    }

  private:
    std::atomic<bool> done = false;
    std::vector<std::string> boxes;
    std::thread thread;
};

}  // namespace hw::test
