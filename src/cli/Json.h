// The few pieces of JSON the command line prints: a string with its escapes,
// and a comma-separated list built one member at a time.
#pragma once

#include <string>
#include <string_view>

namespace hw::cli {

// text in double quotes, with '"', '\\' and the control characters escaped;
// other bytes (UTF-8) as they are.
std::string JsonString(std::string_view text);

// Members of an object or elements of an array, joined with commas.
class JsonList {
  public:
    JsonList& Add(std::string_view element);
    JsonList& Member(std::string_view name, std::string_view value);
    // "{...}" or "[...]".
    std::string Object() const { return "{" + text + "}"; }
    std::string Array() const { return "[" + text + "]"; }

  private:
    std::string text;
};

}  // namespace hw::cli
