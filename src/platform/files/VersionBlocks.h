// The version blocks of program files: the version resource in which a file
// names its version, its copyright line and its internal name, read with the
// system's version-information calls.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace hw {

// One entry of a block's translation table.
struct VersionTranslation {
    std::uint16_t language = 0;
    std::uint16_t codePage = 0;
};

// One file's version block, read whole.
class VersionBlock {
  public:
    virtual ~VersionBlock() = default;

    // The entries of "\VarFileInfo\Translation", in the block's order.
    // nullopt when the block could not be read, or when its root block "\"
    // or its translation table cannot be queried.
    virtual std::optional<std::vector<VersionTranslation>> Translations() const = 0;

    // The string value at keyPath (for example
    // "\StringFileInfo\040904b0\FileVersion"), up to its first NUL. nullopt
    // when the block could not be read or holds no such value.
    virtual std::optional<std::string> StringValue(const std::string& keyPath) const = 0;
};

class VersionBlocks {
  public:
    virtual ~VersionBlocks() = default;

    // Reads the version block of the file at path: the size query, then the
    // read of that many bytes. nullptr when the size query answers 0 (the
    // file has no version block, or cannot be reached). A block whose read
    // failed is returned too and answers every query with nullopt.
    virtual std::unique_ptr<VersionBlock> Read(const std::string& path) = 0;
};

}  // namespace hw
