#include "console/ServiceBundle.h"

#include <cstdio>

#include "console/ZipArchive.h"

namespace hw {

namespace {

constexpr std::string_view kNotInFileNames = "\\/:*?\"<>|";

}  // namespace

std::string BundleFileName(std::string_view queueName, const LocalTime& when) {
    std::string name(queueName);
    for (char& c : name) {
        if (kNotInFileNames.find(c) != std::string_view::npos || static_cast<unsigned char>(c) < 32)
            c = '_';
    }
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, " %04d-%02d-%02d %02d%02d.zip", when.year, when.month,
                  when.day, when.hour, when.minute);
    return name + stamp;
}

std::vector<std::uint8_t> BundleArchive(const std::vector<BundleMember>& members,
                                        const LocalTime& when) {
    ZipArchive archive(when);
    for (const BundleMember& member : members) archive.Add(member.name, member.bytes);
    return archive.Finish();
}

}  // namespace hw
