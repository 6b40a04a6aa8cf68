// Version blocks built in memory, by file path; a path without one has no
// block, as a file without a version resource.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/files/VersionBlocks.h"

namespace hw::test {

// String values under their full key paths. Without a translation table the
// block is one that cannot be read: it answers nothing.
struct MemoryVersionBlock final : VersionBlock {
    MemoryVersionBlock(std::optional<std::vector<VersionTranslation>> table = std::nullopt,
                       std::map<std::string, std::string> values = {})
        : translations(std::move(table)), strings(std::move(values)) {}

    std::optional<std::vector<VersionTranslation>> Translations() const override {
        return translations;
    }
    std::optional<std::string> StringValue(const std::string& keyPath) const override {
        const auto found = strings.find(keyPath);
        if (!translations || found == strings.end()) return std::nullopt;
        return found->second;
    }

    std::optional<std::vector<VersionTranslation>> translations;
    std::map<std::string, std::string> strings;
};

class FakeVersionBlocks final : public VersionBlocks {
  public:
    std::map<std::string, MemoryVersionBlock> files;

    std::unique_ptr<VersionBlock> Read(const std::string& path) override {
        const auto found = files.find(path);
        if (found == files.end()) return nullptr;
        return std::make_unique<MemoryVersionBlock>(found->second);
    }
};

}  // namespace hw::test
