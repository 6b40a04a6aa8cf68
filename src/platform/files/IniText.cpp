#include "platform/files/IniText.h"

#include <cctype>
#include <optional>
#include <vector>

namespace hw {

namespace {

// One line of a section: a key, and a value when the line holds a '='.
struct Entry {
    std::string key;
    std::optional<std::string> value;
};

bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// The name of a section header line ("[name]"), or nothing for other lines.
std::optional<std::string_view> HeaderName(std::string_view line) {
    if (line.empty() || line.front() != '[') return std::nullopt;
    const std::size_t close = line.rfind(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trimmed(line.substr(1, close - 1));
}

// The entries of the first section named section, comment and blank lines
// left out; nothing when the text has no such section.
std::optional<std::vector<Entry>> SectionEntries(std::string_view text, std::string_view section) {
    std::optional<std::vector<Entry>> entries;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (const auto name = HeaderName(line)) {
            if (entries) break;
            if (SameName(*name, section)) entries.emplace();
            continue;
        }
        if (!entries || line.empty() || line.front() == ';') continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            entries->push_back({std::string(line), std::nullopt});
        } else {
            entries->push_back({std::string(Trimmed(line.substr(0, equals))),
                                std::string(Trimmed(line.substr(equals + 1)))});
        }
    }
    return entries;
}

// The entries as the system's buffer holds them: each followed by a NUL and,
// when they do not all fit beside the final extra NUL, cut to capacity - 2.
std::string Fill(const std::vector<Entry>& entries, std::size_t capacity) {
    std::string out;
    for (const Entry& entry : entries) {
        out += entry.key;
        if (entry.value) out += '=' + *entry.value;
        out += '\0';
    }
    if (out.size() > capacity - 2) out.resize(capacity - 2);
    return out;
}

}  // namespace

std::string ReadIniSection(std::string_view text, std::string_view section, std::size_t capacity) {
    if (capacity < 2) return {};
    const auto entries = SectionEntries(text, section);
    return entries ? Fill(*entries, capacity) : std::string();
}

}  // namespace hw
