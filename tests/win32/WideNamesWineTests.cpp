// Names outside the ANSI code page ("Łukasz", "李") on the real console
// (Wine on the build machine): in its windows, in its file dialog, and in the
// paths it derives from a program file that lies in such a folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "ConsoleOnWine.h"
#include "SecondRun.h"
#include "StandInBrowser.h"
#include "WideTestPlaces.h"
#include "console/ConsoleApp.h"
#include "console/ConsoleIds.h"
#include "platform/win32/Win32ProgramFile.h"
#include "platform/win32/Win32Utf8.h"

namespace hw::test {
namespace {

using namespace std::string_literals;

// "Łukasz 李" in UTF-8: letters of no ANSI code page the prefix may use.
const std::string kOutside = "\xC5\x81ukasz \xE6\x9D\x8E";

std::string ContentOf(const std::string& path) {
    std::ifstream in(std::filesystem::path(Widen(path)), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(std::filesystem::path(Widen(path)), std::ios::binary) << content;
}

// Letters outside the code page typed into an edit of the console reach it
// through the console's message loop; the system menu shows such a text.
TEST_F(ConsoleOnWine, TextsOutsideTheCodePageStayWholeInItsWindows) {
    HWND edit = GetDlgItem(Window(), console_id::kSerialNumber);
    for (wchar_t letter : Widen(kOutside)) PostMessageW(edit, WM_CHAR, letter, 1);
    windows.messages.PumpMessages(console.window());
    EXPECT_EQ(windows.items.ItemText(console.window(), console_id::kSerialNumber), kOutside);
    windows.windows.SetTitle(console.window(), kOutside);
    EXPECT_EQ(windows.windows.Title(console.window()), kOutside);
    constexpr int kCommand = 0x7F00;
    windows.shell.AppendSystemMenuItem(console.window(), kCommand, kOutside);
    wchar_t item[64] = {};
    GetMenuStringW(GetSystemMenu(Window(), FALSE), kCommand, item, 64, MF_BYCOMMAND);
    EXPECT_EQ(Narrow(item), kOutside);
}

// The technician names a file in a folder outside the code page in the real
// Output File dialog; that file's bytes are the job the machine's queue gets.
TEST_F(ConsoleOnWine, OutputFileSendsTheFileNamedInAFolderOutsideTheCodePage) {
    const std::string folder = PathOutsideCodePage("hw-output");
    const std::string path = folder + "\\" + kOutside + ".txt";
    CreateDirectoryW(Widen(folder).c_str(), nullptr);
    WriteFile(path, "^PD100,100;");
    std::thread technician([&] {
        HWND open = OwnedDialog(Window(), "Hexwarden", false);
        if (open == nullptr) return;
        // The name box of the old-style and of the explorer-style dialog.
        for (int nameBox : {0x47C, 0x480}) SetDlgItemTextW(open, nameBox, Widen(path).c_str());
        PostMessageW(open, WM_COMMAND, IDOK, 0);
    });
    BoxAnswerer answerer;
    SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(console_id::kOutputFile, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(Window(), console_id::kOutputFile)));
    technician.join();
    EXPECT_EQ(answerer.Boxes(), std::vector<std::string>{});
    const std::vector<SimPrintJob> jobs = sim.Spooler().MachineJobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(std::string(jobs[0].data.begin(), jobs[0].data.end()), "^PD100,100;");
    DeleteFileW(Widen(path).c_str());
    RemoveDirectoryW(Widen(folder).c_str());
}

// ---- The program in a folder outside the code page ----

// Set in the second run, by the copy of this program.
constexpr const wchar_t* kCopyRun = L"HW_RUN_FROM_A_COPY";
constexpr const char* kPageText = "<html>the manual beside the copy</html>";

// Where the stand-in browser copies the page F1 opened: a folder of the code page.
std::string OpenedPageLog() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "hw-copy-opened.html";
}

// This test program copied as Hexwarden.exe into a folder outside the code
// page, with a settings file and the manual beside it, runs this test
// again; its console reads that settings file, and F1 opens that manual.
class ConsoleOfACopy : public ConsoleOnWine {
  protected:
    void SetUp() override {
        programFile.path = Win32ProgramFile().Path();
        ConsoleOnWine::SetUp();
    }

    // Copies this program and its files into folder, runs the copy and removes them.
    static DWORD RunACopyIn(const std::string& folder) {
        const std::string program = folder + "\\Hexwarden.exe";
        CreateDirectoryW(Widen(folder).c_str(), nullptr);
        if (!CopyFileW(ThisProgram().c_str(), Widen(program).c_str(), FALSE)) return ~0u;
        WriteFile(folder + "\\Hexwarden.INI", "[TestData]\r\nRect=1,2,3,4\r\n");
        WriteFile(folder + "\\Hexwarden.html", kPageText);
        const DWORD code =
            RunTestAgain(Widen(program), L"ConsoleOfACopy.FindsTheFilesBesideTheProgram", kCopyRun);
        for (const char* leaf : {"\\Hexwarden.exe", "\\Hexwarden.INI", "\\Hexwarden.html"}) {
            DeleteFileW(Widen(folder + leaf).c_str());
        }
        RemoveDirectoryW(Widen(folder).c_str());
        return code;
    }
};

TEST_F(ConsoleOfACopy, FindsTheFilesBesideTheProgram) {
    if (!IsSecondRun(kCopyRun)) {
        DeleteFileA(OpenedPageLog().c_str());
        EXPECT_EQ(RunACopyIn(PathOutsideCodePage("hw-program")), 0u);
        EXPECT_EQ(ContentOf(OpenedPageLog()), kPageText);
        DeleteFileA(OpenedPageLog().c_str());
        return;
    }
    EXPECT_EQ(settings.ReadSection(console.SettingsPath(), "TestData", 32767),
              "Rect=1,2,3,4"s + '\0');
    const StandInBrowser browser(OpenedPageLog(), StandInBrowser::Logs::Page);
    ASSERT_TRUE(browser.Registered());
    const ConsoleApp consoleApp({app, link, programFile, files, settings, versions, userSettings});
    HELPINFO info{sizeof info, HELPINFO_WINDOW, IDOK, Window(), 0, {0, 0}};
    BoxAnswerer answerer;
    SendMessageW(Window(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(answerer.Boxes(), std::vector<std::string>{});
    // The shell starts the stand-in on its own; the copy appears once it ran.
    for (int i = 0; i < 300 && ContentOf(OpenedPageLog()).empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

}  // namespace
}  // namespace hw::test
