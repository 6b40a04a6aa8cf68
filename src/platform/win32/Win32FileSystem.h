// Disk files by path on Win32: DiskFile for reading and writing, CreateFileA
// for the write check, MoveFileExA (write-through) and DeleteFileA for
// replacing and removing, SHGetFolderPathA for the local application-data
// folder, CreateDirectoryA and FindFirstFileA for folders.
#pragma once

#include "platform/files/FileSystem.h"

namespace hw {

class Win32FileSystem final : public FileSystem {
  public:
    std::unique_ptr<File> Open(const std::string& path, Access access) override;
    void CheckWritable(const std::string& path) override;
    bool Exists(const std::string& path) override;
    void Replace(const std::string& from, const std::string& to) override;
    void Remove(const std::string& path) override;
    std::string LocalAppDataFolder() override;
    void CreateFolder(const std::string& path) override;
    std::vector<std::string> FileNamesIn(const std::string& path) override;
    std::string TemporaryNameBeside(const std::string& path) override;
};

}  // namespace hw
