#include "console/files/OfferedNames.h"

#include <cstdio>

namespace hw {

namespace {

constexpr std::string_view kNotInFileNames = "\\/:*?\"<>|";

std::string SafeName(std::string_view name) {
    std::string safe(name);
    for (char& c : safe) {
        if (kNotInFileNames.find(c) != std::string_view::npos || static_cast<unsigned char>(c) < 32)
            c = '_';
    }
    return safe;
}

}  // namespace

std::string DatedFileName(std::string_view name, const LocalTime& when,
                          std::string_view extension) {
    char date[32];
    std::snprintf(date, sizeof date, " %04d-%02d-%02d", when.year, when.month, when.day);
    return SafeName(name) + date + std::string(extension);
}

std::string StampedFileName(std::string_view name, const LocalTime& when,
                            std::string_view extension) {
    char time[16];
    std::snprintf(time, sizeof time, " %02d%02d", when.hour, when.minute);
    return DatedFileName(name, when, time + std::string(extension));
}

}  // namespace hw
