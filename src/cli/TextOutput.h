// Where the command line's text goes: standard output or error, or a string
// in the tests. Text is written as it is (UTF-8); nothing is translated.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace hw::cli {

class TextOutput {
  public:
    virtual ~TextOutput() = default;
    virtual void Write(std::string_view text) = 0;
};

inline TextOutput& operator<<(TextOutput& out, std::string_view text) {
    out.Write(text);
    return out;
}
inline TextOutput& operator<<(TextOutput& out, char c) {
    out.Write(std::string_view(&c, 1));
    return out;
}

// A C stream: stdout or stderr.
class FileOutput final : public TextOutput {
  public:
    explicit FileOutput(std::FILE* file) : file(file) {}
    void Write(std::string_view text) override { std::fwrite(text.data(), 1, text.size(), file); }

  private:
    std::FILE* file;
};

// Text kept in memory.
class StringOutput final : public TextOutput {
  public:
    void Write(std::string_view more) override { text += more; }
    std::string text;
};

}  // namespace hw::cli
