// The service bundle: one zip archive with everything support asks for about
// this machine, read by the console in one go.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/System.h"

namespace hw {

// One file of the bundle, by its name in the archive.
struct BundleMember {
    std::string name;
    std::string bytes;
};

// The save dialog's initial name: "<queue name> <yyyy-mm-dd hhmm>.zip", with
// the characters a file name cannot hold in the queue name replaced by '_'.
std::string BundleFileName(std::string_view queueName, const LocalTime& when);

// The archive holding members, in their order, each stamped with when.
std::vector<std::uint8_t> BundleArchive(const std::vector<BundleMember>& members,
                                        const LocalTime& when);

}  // namespace hw
