// The application object's framework part: the program name that captions
// boxes by default, the main window, the application-wide boxes (a box with
// no owning dialog, an exception's error report, out of memory) and an
// Alerts implementation that lets the link and command layers show the
// latter two.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/device/Alerts.h"
#include "platform/files/FileErrors.h"
#include "ui/Types.h"
#include "ui/WindowSystem.h"

namespace hw::ui {

class Dialog;
class Application;

// hw::Alerts through the application's boxes.
class ApplicationAlerts final : public Alerts {
  public:
    explicit ApplicationAlerts(Application& app) : app_(app) {}
    void ShowOutOfMemory() override;
    void ReportError(const FrameworkException& error) override;

  private:
    Application& app_;
};

// One entry of an application's command map: a command id and the
// application's handler for it.
// A box as it was shown and answered.
struct BoxNote {
    std::string_view text;
    std::uint32_t style = 0;
    int answer = 0;
};

struct AppCommandEntry {
    int id = 0;
    void (Application::*handler)() = nullptr;
};

class Application {
  public:
    // Texts of the framework's own boxes.
    static constexpr std::string_view kOutOfMemory = "Out of memory.";

    Application(const WindowSystem& system, std::string programName);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The parts of the window system.
    DialogWindows& windows() const { return system_.windows; }
    DialogItems& items() const { return system_.items; }
    ListBoxes& lists() const { return system_.lists; }
    WindowGeometry& geometry() const { return system_.geometry; }
    WindowMessages& messages() const { return system_.messages; }
    Shell& shell() const { return system_.shell; }

    // The caption of boxes shown without one: the program file's base name.
    const std::string& programName() const { return programName_; }
    void SetProgramName(std::string name) { programName_ = std::move(name); }

    // The main window: the dialog that owns every dialog run with DoModal()
    // and no owner given. nullptr: none.
    Dialog* mainWindow() const { return mainWindow_; }
    void SetMainWindow(Dialog* dialog) { mainWindow_ = dialog; }

    // A box captioned with the program name, owned by the active window,
    // told to the box observer once answered. Returns the answer.
    int ShowMessageBox(std::string_view text, std::uint32_t style = kMbOk);
    // The exception's error report: ErrorReportText with
    // MB_OK | MB_ICONEXCLAMATION.
    void ReportError(const FrameworkException& error);
    // The out-of-memory box: kOutOfMemory with MB_OK | MB_ICONHAND.
    void ShowOutOfMemory();
    // The common file dialog, owned by owner (kNoWindow: none). The chosen
    // path, nullopt when cancelled. A dialog with a folder kind and no
    // initial folder opens in the folder of the file last chosen with that
    // kind, for as long as the application runs.
    std::optional<std::string> ShowFileDialog(const FileDialogOptions& options,
                                              WindowId owner = kNoWindow);

    // Who is told of every box shown through the application or one of its
    // dialogs, once the technician has answered it; none when empty.
    void SetBoxObserver(std::function<void(const BoxNote&)> observer) {
        boxObserver_ = std::move(observer);
    }
    void NoteBox(const BoxNote& note) const {
        if (boxObserver_) boxObserver_(note);
    }

    // Alerts for the device link (LinkPlatform::alerts).
    Alerts& alerts() { return alerts_; }

    // The application's command map: a command that no dialog handled runs
    // the first entry with its id. The program's application object declares
    // it; empty until then.
    void SetCommandMap(std::span<const AppCommandEntry> map) { commandMap_ = map; }
    // A command no dialog handled: false when the command map has no entry.
    bool HandleCommand(int id);

    // The framework's help handler: runs what the program set with
    // SetHelpHandler; nothing without it.
    void OnHelp();
    void SetHelpHandler(std::function<void()> handler) { helpHandler_ = std::move(handler); }

  private:
    WindowSystem system_;
    std::string programName_;
    Dialog* mainWindow_ = nullptr;
    ApplicationAlerts alerts_{*this};
    std::span<const AppCommandEntry> commandMap_;
    std::function<void(const BoxNote&)> boxObserver_;
    std::function<void()> helpHandler_;
    // The folder last chosen in, by file dialog kind.
    std::map<std::string, std::string, std::less<>> folders_;
};

}  // namespace hw::ui
