#include "cli/Json.h"

#include <cstdio>

namespace hw::cli {

std::string JsonString(std::string_view text) {
    std::string json = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (c == '\n') {
            json += "\\n";
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            json += escaped;
        } else {
            json += c;
        }
    }
    return json + "\"";
}

JsonList& JsonList::Add(std::string_view element) {
    if (!text.empty()) text += ',';
    text += element;
    return *this;
}

JsonList& JsonList::Member(std::string_view name, std::string_view value) {
    return Add(JsonString(name) + ":" + std::string(value));
}

}  // namespace hw::cli
