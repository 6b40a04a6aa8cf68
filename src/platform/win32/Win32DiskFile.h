// A disk file on Win32, opened by path for reading, or created (emptied when
// it exists) for writing. Errors raise FileException naming the path.
#pragma once

#include <string>

#include "platform/device/Handles.h"
#include "platform/files/File.h"
#include "platform/files/FileErrors.h"

namespace hw {

// The cause of a FileException for a Win32 error code (GetLastError).
FileException::Cause FileErrorCause(std::uint32_t error);

class DiskFile final : public File {
  public:
    enum class Mode {
        Read,         // an existing file; others may read it meanwhile
        CreateWrite,  // created or emptied; not shared
    };

    // Opens the file; throws FileException when it cannot be opened.
    DiskFile(std::string path, Mode mode);
    ~DiskFile() override;

    DiskFile(const DiskFile&) = delete;
    DiskFile& operator=(const DiskFile&) = delete;

    std::uint32_t Read(void* buffer, std::uint32_t n) override;
    void Write(const void* buffer, std::uint32_t n) override;
    std::uint64_t Seek(std::int64_t offset, SeekFrom from) override;
    std::uint64_t GetLength() const override;
    void Flush() override;

  private:
    // Throws the FileException for the calling thread's last OS error.
    [[noreturn]] void ThrowLastError() const;
    [[noreturn]] void Throw(FileException::Cause cause) const;

    std::string path_;
    OsHandle handle_;
};

}  // namespace hw
