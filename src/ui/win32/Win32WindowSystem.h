// The window system on real Win32 windows: dialogs from the templates linked
// into the executable, their controls, timers, boxes and common dialogs, in
// its five parts. Every window is a Unicode window, and every text crosses in
// UTF-16 (UTF-8 on our side), so that a path or queue name outside the ANSI
// code page is shown and read back whole.
#pragma once

#include <cstdint>

#include "ui/WindowSystem.h"
#include "ui/win32/Win32DialogWindows.h"
#include "ui/win32/Win32Geometry.h"
#include "ui/win32/Win32Items.h"
#include "ui/win32/Win32ListBoxes.h"
#include "ui/win32/Win32Messages.h"
#include "ui/win32/Win32Shell.h"

namespace hw::ui {

class Win32WindowSystem final : public WindowSystem {
  public:
    // Registers the common controls (progress bar) once, and hooks the
    // thread's dialog message filter, through which every dialog sees its
    // keystrokes first (Dialog::PreTranslateMessage), in modal loops too.
    Win32WindowSystem();
    // Unhooks the filter; the fonts the geometry made go with it.
    ~Win32WindowSystem();
    Win32WindowSystem(const Win32WindowSystem&) = delete;
    Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

  private:
    Win32DialogWindows windows_;
    Win32Items items_;
    Win32ListBoxes lists_;
    Win32Geometry geometry_;
    Win32Messages messages_;
    Win32Shell shell_;
    // The WH_MSGFILTER hook; 0 when it could not be set.
    std::uintptr_t messageFilter_ = 0;
};

}  // namespace hw::ui
