// What the file dialogs offer: names made of the machine's queue and the
// moment, and the kinds by which they remember their folders.
#pragma once

#include <string>
#include <string_view>

#include "platform/device/System.h"

namespace hw {

// File dialog kinds (ui::FileDialogOptions::folderKind): each opens in the
// folder last chosen in one of its kind during the session.
inline constexpr const char* kParameterFiles = "parameters";
inline constexpr const char* kTextFiles = "text";
inline constexpr const char* kOutputFiles = "output";
inline constexpr const char* kBundleFiles = "bundle";

// "<name> <yyyy-mm-dd>" followed by extension, with the characters a file
// name cannot hold in name replaced by '_'.
std::string DatedFileName(std::string_view name, const LocalTime& when, std::string_view extension);
// "<name> <yyyy-mm-dd hhmm>" followed by extension, name made safe as above.
std::string StampedFileName(std::string_view name, const LocalTime& when,
                            std::string_view extension);

}  // namespace hw
