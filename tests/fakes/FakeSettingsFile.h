// A settings file that answers each section read with the text a test gave
// for that section, byte for byte, and records what was asked.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "platform/files/SettingsFile.h"

namespace hw::test {

class FakeSettingsFile final : public SettingsFile {
  public:
    struct Read {
        std::string path;
        std::string section;
        std::size_t capacity;
    };

    // The section texts (NUL-separated entries); a missing section reads empty.
    std::map<std::string, std::string> sections;
    std::vector<Read> reads;

    std::string ReadSection(const std::string& path, const std::string& section,
                            std::size_t capacity) override {
        reads.push_back({path, section, capacity});
        const auto found = sections.find(section);
        return found == sections.end() ? std::string() : found->second;
    }
};

}  // namespace hw::test
