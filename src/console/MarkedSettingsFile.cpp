#include "console/MarkedSettingsFile.h"

#include <string_view>

#include "platform/files/IniText.h"

namespace hw {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
// A settings file holds a few short sections; what lies beyond this many
// bytes is not read.
constexpr std::size_t kLongestText = 1 << 20;

}  // namespace

std::string MarkedSettingsFile::ReadSection(const std::string& path, const std::string& section,
                                            std::size_t capacity) {
    if (const auto text = TextAfterMark(path)) return ReadIniSection(*text, section, capacity);
    return system.ReadSection(path, section, capacity);
}

std::optional<std::string> MarkedSettingsFile::TextAfterMark(const std::string& path) {
    try {
        const auto file = files.Open(path, FileSystem::Access::Read);
        std::string text(kUtf8Mark.size(), '\0');
        if (file->Read(text.data(), static_cast<std::uint32_t>(text.size())) != text.size() ||
            text != kUtf8Mark) {
            return std::nullopt;
        }
        text.clear();
        char piece[4096];
        while (text.size() < kLongestText) {
            const std::uint32_t n = file->Read(piece, sizeof piece);
            if (n == 0) break;
            text.append(piece, n);
        }
        return text;
    } catch (const FrameworkException&) {
        return std::nullopt;
    }
}

}  // namespace hw
