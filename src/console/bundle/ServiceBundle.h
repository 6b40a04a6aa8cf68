// The service bundle: one zip archive with everything support asks for about
// this machine, read by the console in one go.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/device/System.h"

namespace hw {

// One file of the bundle, by its name in the archive.
struct BundleMember {
    std::string name;
    std::string bytes;
};

// The archive holding members, in their order, each stamped with when.
std::vector<std::uint8_t> BundleArchive(const std::vector<BundleMember>& members,
                                        const LocalTime& when);

}  // namespace hw
