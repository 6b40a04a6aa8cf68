#include "ui/Application.h"

#include "platform/files/FileSystem.h"

namespace hw::ui {

void ApplicationAlerts::ShowOutOfMemory() {
    app_.ShowOutOfMemory();
}

void ApplicationAlerts::ReportError(const FrameworkException& error) {
    app_.ReportError(error);
}

Application::Application(const WindowSystem& system, std::string programName)
    : system_(system), programName_(std::move(programName)) {}

int Application::ShowMessageBox(std::string_view text, std::uint32_t style) {
    const int answer = shell().ShowMessageBox(kNoWindow, text, programName_, style);
    NoteBox({text, style, answer});
    return answer;
}

void Application::ReportError(const FrameworkException& error) {
    ShowMessageBox(ErrorReportText(error), kMbOk | kMbIconExclamation);
}

void Application::ShowOutOfMemory() {
    ShowMessageBox(kOutOfMemory, kMbOk | kMbIconHand);
}

bool Application::HandleCommand(int id) {
    for (const AppCommandEntry& entry : commandMap_) {
        if (entry.id != id) continue;
        (this->*entry.handler)();
        return true;
    }
    return false;
}

void Application::OnHelp() {
    if (helpHandler_) helpHandler_();
}

std::optional<std::string> Application::ShowFileDialog(const FileDialogOptions& options,
                                                       WindowId owner) {
    if (options.folderKind.empty()) return shell().ShowFileDialog(owner, options);
    FileDialogOptions shown = options;
    const auto last = folders_.find(options.folderKind);
    if (shown.initialFolder.empty() && last != folders_.end()) shown.initialFolder = last->second;
    auto path = shell().ShowFileDialog(owner, shown);
    if (path) {
        std::string folder = PathBeside(*path, "");
        if (!folder.empty()) folders_[options.folderKind] = std::move(folder);
    }
    return path;
}

}  // namespace hw::ui
