// The short texts every procedure reports with, each in its own box style.
#pragma once

#include <string_view>

namespace hw {

namespace ui {
class Application;
}  // namespace ui

inline constexpr std::string_view kTextOffline = "OFFLINE";
inline constexpr std::string_view kTextError = "error";
inline constexpr std::string_view kTextCompleted = "Completed";
inline constexpr std::string_view kTextFailed = "Failed";
inline constexpr std::string_view kTextHitEnter = "Hit [ENTER]    ";

// Error box (stop icon), captioned with the program name: "OFFLINE",
// "error", "error X", "Failed" and the like.
void ShowErrorBox(ui::Application& app, std::string_view text);
// Warning box (exclamation icon) for input and precondition problems.
void ShowWarningBox(ui::Application& app, std::string_view text);

}  // namespace hw
