#include "platform/files/FileErrors.h"

namespace hw {

namespace {

const char* CauseTemplate(FileException::Cause cause) {
    switch (cause) {
        case FileException::Cause::None:
            return "";
        case FileException::Cause::FileNotFound:
            return "%1 was not found.";
        case FileException::Cause::BadPath:
            return "%1 contains an invalid path.";
        case FileException::Cause::AccessDenied:
            return "Access to %1 was denied.";
        case FileException::Cause::SharingViolation:
            return "A sharing violation occurred while accessing %1.";
        case FileException::Cause::DiskFull:
            return "Disk full while accessing %1.";
        case FileException::Cause::EndOfFile:
            return "An attempt was made to access %1 past its end.";
        case FileException::Cause::Generic:
            break;
    }
    return "An unexpected error occurred while accessing %1.";
}

}  // namespace

std::string FileException::ErrorMessage() const {
    std::string text = CauseTemplate(cause_);
    const auto at = text.find("%1");
    if (at != std::string::npos) text.replace(at, 2, fileName_);
    return text;
}

}  // namespace hw
