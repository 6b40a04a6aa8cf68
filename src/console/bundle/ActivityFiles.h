// The console's disk files as the activity log sees them: every file read is
// logged when it is opened, and every file written when it takes its place
// (the safe writer's move), each with its full path and size.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "console/bundle/ActivityLog.h"
#include "platform/files/FileSystem.h"

namespace hw {

class ActivityFiles final : public FileSystem {
  public:
    ActivityFiles(FileSystem& files, ActivityLog& log) : files_(files), log_(log) {}

    std::unique_ptr<File> Open(const std::string& path, Access access) override;
    void CheckWritable(const std::string& path) override { files_.CheckWritable(path); }
    bool Exists(const std::string& path) override { return files_.Exists(path); }
    void Replace(const std::string& from, const std::string& to) override;
    void Remove(const std::string& path) override;
    std::string LocalAppDataFolder() override { return files_.LocalAppDataFolder(); }
    void CreateFolder(const std::string& path) override { files_.CreateFolder(path); }
    std::vector<std::string> FileNamesIn(const std::string& path) override {
        return files_.FileNamesIn(path);
    }
    std::string TemporaryNameBeside(const std::string& path) override {
        return files_.TemporaryNameBeside(path);
    }

    // Notes the size a written file had when it was closed.
    void RecordWritten(const std::string& path, std::uint64_t size) { written_[path] = size; }

  private:
    FileSystem& files_;
    ActivityLog& log_;
    // Files written and closed but not yet moved into place, by path.
    std::map<std::string, std::uint64_t> written_;
};

}  // namespace hw
