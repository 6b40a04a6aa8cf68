// Writes a file so that a failure never costs the technician a good file: the
// bytes go to a temporary file beside the chosen one, which replaces the
// chosen file only on Commit, once everything has been written. Until then
// the chosen file stays as it was; a temporary never committed is removed.
// File errors name the chosen file, whichever file they happened on.
#pragma once

#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace hw {

class SafeFileWriter {
  public:
    // Creates the temporary file. Throws FileException naming path when it
    // cannot be created.
    SafeFileWriter(FileSystem& files, std::string path);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // The file to write; its exceptions name the chosen file.
    File& file() { return *file_; }

    // Closes the temporary file and moves it over the chosen one. Throws
    // FileException naming the chosen file when that fails; the chosen file
    // is then as it was and the temporary is removed.
    void Commit();

  private:
    FileSystem& files_;
    std::string path_;
    std::string temporary_;
    std::unique_ptr<File> file_;
    bool committed_ = false;
};

}  // namespace hw
