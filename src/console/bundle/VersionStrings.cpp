#include "console/bundle/VersionStrings.h"

#include <cstdint>

namespace hw {

namespace {

void AppendHex4(std::string& text, std::uint16_t value) {
    constexpr char kDigits[] = "0123456789abcdef";
    for (int shift = 12; shift >= 0; shift -= 4) text += kDigits[(value >> shift) & 0xF];
}

}  // namespace

std::string StringKeyPath(const VersionTranslation& translation, std::string_view name) {
    std::string path = "\\StringFileInfo\\";
    AppendHex4(path, translation.language);
    AppendHex4(path, translation.codePage);
    path += '\\';
    path += name;
    return path;
}

std::optional<VersionStrings> ReadVersionStrings(VersionBlocks& blocks, const std::string& path) {
    const auto block = blocks.Read(path);
    if (!block) return std::nullopt;
    VersionStrings strings;
    const auto translations = block->Translations();
    // An empty table names no strings; there is no entry to read past.
    if (!translations || translations->empty()) return strings;
    const VersionTranslation& first = translations->front();
    strings.fileVersion = block->StringValue(StringKeyPath(first, "FileVersion"));
    strings.legalCopyright = block->StringValue(StringKeyPath(first, "LegalCopyright"));
    strings.internalName = block->StringValue(StringKeyPath(first, "InternalName"));
    return strings;
}

}  // namespace hw
