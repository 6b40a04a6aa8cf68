// Writes a file so that a failure never costs the technician a good file: the
// bytes go to a temporary file beside the chosen one, which replaces the
// chosen file only on Commit, once everything has been written and is on the
// disk. Until then the chosen file stays as it was; a temporary never
// committed is removed. File errors name the chosen file, whichever file they
// happened on, except a temporary that cannot be removed: that one is named,
// so that the technician learns of the file left behind.
#pragma once

#include <memory>
#include <string>

#include "platform/files/FileSystem.h"

namespace hw {

class SafeFileWriter {
  public:
    // Checks that the chosen file can be replaced, then creates the
    // temporary. Throws FileException naming path when either fails; nothing
    // is left behind then.
    SafeFileWriter(FileSystem& files, std::string path);
    // A temporary neither committed nor discarded is removed if it can be.
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // The file to write; its exceptions name the chosen file.
    File& file() { return *file_; }

    // Writes the temporary through to the disk, closes it and moves it over
    // the chosen one, the move too written through. Throws FileException
    // naming the chosen file when that fails; the chosen file is then as it
    // was and the temporary is left for Discard.
    void Commit();

    // After a failure: closes and removes the temporary; the chosen file
    // stays as it was. Throws FileException naming the temporary when it
    // cannot be removed. Does nothing after Commit.
    void Discard();

  private:
    FileSystem& files_;
    std::string path_;
    std::string temporary_;
    std::unique_ptr<File> file_;
    bool finished_ = false;  // committed or discarded
};

}  // namespace hw
