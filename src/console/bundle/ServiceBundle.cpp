#include "console/bundle/ServiceBundle.h"

#include "console/bundle/ZipArchive.h"

namespace hw {

std::vector<std::uint8_t> BundleArchive(const std::vector<BundleMember>& members,
                                        const LocalTime& when) {
    ZipArchive archive(when);
    for (const BundleMember& member : members) archive.Add(member.name, member.bytes);
    return archive.Finish();
}

}  // namespace hw
