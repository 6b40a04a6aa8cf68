// Disk files in memory: each file a byte vector under its path, with
// failures a test arms: an open that fails with a cause, a disk that fills
// up, a read that fails, a move that fails. Like Windows, a file still open
// cannot be moved or removed.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace hw::test {

class FakeFileSystem final : public FileSystem {
  public:
    using Bytes = std::vector<std::uint8_t>;

    std::map<std::string, Bytes> files;
    // Opening this path, or any file in this folder (a key ending in '\\'),
    // fails with the cause.
    std::map<std::string, FileException::Cause> openFailures;
    // Writes fail with DiskFull once all files together have taken this many
    // bytes; the bytes that fit are stored.
    std::optional<std::uint64_t> diskFullAfter;
    // Reads fail (Generic) once this many bytes have been read in all.
    std::optional<std::uint64_t> readFailsAfter;
    // The next Replace fails with this cause.
    std::optional<FileException::Cause> replaceFailure;

    // Calls seen.
    std::vector<std::pair<std::string, Access>> opens;
    std::vector<std::pair<std::string, std::string>> replaces;
    std::vector<std::string> removes;
    int openFiles = 0;  // opened and not yet closed

    // Puts a file with the given contents.
    void Put(const std::string& path, std::string_view contents);
    // The file's contents as text; nullopt when there is no such file.
    std::optional<std::string> Text(const std::string& path) const;

    std::unique_ptr<File> Open(const std::string& path, Access access) override;
    void Replace(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& path) override;
    std::string TemporaryNameBeside(const std::string& path) override;

  private:
    class OpenFile;
    friend class OpenFile;

    std::map<std::string, int> openCounts_;
    std::uint64_t written_ = 0;
    std::uint64_t read_ = 0;
    int nextTemporary_ = 1;
};

}  // namespace hw::test
