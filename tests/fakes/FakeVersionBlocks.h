// Version blocks built in memory: per file path, a translation table and
// string values under their full key paths. A path without a block has
// none, as a file without a version resource.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/VersionBlocks.h"

namespace hw::test {

struct MemoryVersionBlock {
    // nullopt: the block cannot be read or its table queried.
    std::optional<std::vector<VersionTranslation>> translations;
    std::map<std::string, std::string> strings;  // by key path
};

class FakeVersionBlocks final : public VersionBlocks {
  public:
    std::map<std::string, MemoryVersionBlock> files;

    std::unique_ptr<VersionBlock> Read(const std::string& path) override {
        const auto found = files.find(path);
        if (found == files.end()) return nullptr;
        return std::make_unique<Block>(found->second);
    }

  private:
    class Block final : public VersionBlock {
      public:
        explicit Block(MemoryVersionBlock block) : block(std::move(block)) {}
        std::optional<std::vector<VersionTranslation>> Translations() const override {
            return block.translations;
        }
        std::optional<std::string> StringValue(const std::string& keyPath) const override {
            if (!block.translations) return std::nullopt;
            const auto found = block.strings.find(keyPath);
            if (found == block.strings.end()) return std::nullopt;
            return found->second;
        }

      private:
        MemoryVersionBlock block;
    };
};

}  // namespace hw::test
