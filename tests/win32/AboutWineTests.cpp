// The About box on real windows (Wine on the build machine), reading the
// version block of the running test program, which is built with the
// program's own resources.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "console/AboutDialog.h"
#include "platform/win32/Win32ProgramFile.h"
#include "platform/win32/Win32VersionBlocks.h"
#include "ui/Application.h"
#include "ui/win32/Win32WindowSystem.h"

namespace hw::test {
namespace {

TEST(AboutOnWine, ShowsTheProgramFilesVersionBlock) {
    ui::Win32WindowSystem windows;
    ui::Application app{windows, "Hexwarden"};
    Win32ProgramFile program;
    Win32VersionBlocks blocks;
    AboutDialog about(app, blocks, program.Path());
    ASSERT_TRUE(about.Create(ui::kNoWindow));
    const auto window = reinterpret_cast<HWND>(about.window());
    char text[128] = {};
    GetDlgItemTextA(window, about_id::kVersion, text, sizeof text);
    EXPECT_STREQ(text, "Version 1, 0, 0, 0");
    GetDlgItemTextA(window, about_id::kCopyright, text, sizeof text);
    EXPECT_STREQ(text, "Copyright (C) 2026 Hexwarden developers");
    GetWindowTextA(window, text, sizeof text);
    EXPECT_STREQ(text, "About Hexwarden");
    about.DestroyWindow();
}

}  // namespace
}  // namespace hw::test
