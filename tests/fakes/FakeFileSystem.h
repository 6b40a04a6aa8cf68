// Disk files in memory: each file a byte vector under its path, with
// failures a test arms: an open that fails with a cause, a disk that fills
// up, a read that fails, a flush, move or removal that fails. Like Windows, a
// file still open cannot be opened again, moved or removed. Folders are kept
// only below the local application-data folder: as on a new user profile,
// a file there can be created only in a folder that CreateFolder made.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files/FileSystem.h"

namespace hw::test {

class FakeFileSystem final : public FileSystem {
  public:
    using Bytes = std::vector<std::uint8_t>;

    std::map<std::string, Bytes> files;
    // Opening this path, or any file in this folder (a key ending in '\\'),
    // fails with the cause; so does the write check.
    std::map<std::string, FileException::Cause> openFailures;
    // Writes fail with DiskFull once all files together have taken this many
    // bytes; the bytes that fit are stored.
    std::optional<std::uint64_t> diskFullAfter;
    // Reads fail (Generic) once this many bytes have been read in all.
    std::optional<std::uint64_t> readFailsAfter;
    // The next Replace fails with this cause.
    std::optional<FileException::Cause> replaceFailure;
    // The next Flush fails with this cause.
    std::optional<FileException::Cause> flushFailure;
    // Every size query fails with this cause while set.
    std::optional<FileException::Cause> lengthFailure;
    // Every Remove fails with this cause while set.
    std::optional<FileException::Cause> removeFailure;

    // The local application-data folder; empty: the OS cannot tell it.
    std::string localAppData = "C:\\Users\\tech\\AppData\\Local";
    // The folders below it that exist.
    std::set<std::string> folders;

    // Calls seen.
    std::vector<std::pair<std::string, Access>> opens;
    std::vector<std::pair<std::string, std::string>> replaces;
    std::vector<std::string> removes;
    // What happened to files, in order: "write", "flush", "close",
    // "replace" or "remove", a blank and the path ("replace" names from).
    std::vector<std::string> events;
    int openFiles = 0;  // opened and not yet closed

    // Puts a file with the given contents.
    void Put(const std::string& path, std::string_view contents);
    // The file's contents as text; nullopt when there is no such file.
    std::optional<std::string> Text(const std::string& path) const;

    std::unique_ptr<File> Open(const std::string& path, Access access) override;
    void CheckWritable(const std::string& path) override;
    bool Exists(const std::string& path) override;
    void Replace(const std::string& from, const std::string& to) override;
    void Remove(const std::string& path) override;
    std::string LocalAppDataFolder() override;
    void CreateFolder(const std::string& path) override;
    std::vector<std::string> FileNamesIn(const std::string& path) override;
    std::string TemporaryNameBeside(const std::string& path) override;

  private:
    class OpenFile;
    friend class OpenFile;

    // The cause an open of path for writing fails with, if it does.
    std::optional<FileException::Cause> OpenFailure(const std::string& path) const;

    std::map<std::string, int> openCounts_;
    std::uint64_t written_ = 0;
    std::uint64_t read_ = 0;
    int nextTemporary_ = 1;
};

}  // namespace hw::test
