// Version blocks read with GetFileVersionInfoSizeA, GetFileVersionInfoA and
// VerQueryValueA.
#pragma once

#include "platform/files/VersionBlocks.h"

namespace hw {

class Win32VersionBlocks final : public VersionBlocks {
  public:
    std::unique_ptr<VersionBlock> Read(const std::string& path) override;
};

}  // namespace hw
