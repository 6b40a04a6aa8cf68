// The file object interface that bulk transfers read from and write to: a
// disk file, or a growable memory file.
#pragma once

#include <cstdint>

namespace hw {

class File {
  public:
    enum class SeekFrom { Begin, Current, End };

    virtual ~File() = default;

    // Reads up to n bytes at the current position; returns the count read,
    // 0 at the end. Throws FileException on an I/O error.
    virtual std::uint32_t Read(void* buffer, std::uint32_t n) = 0;

    // Stores all n bytes at the current position, or throws (FileException
    // for a disk file, MemoryException when memory runs out).
    virtual void Write(const void* buffer, std::uint32_t n) = 0;

    // Moves the position; returns the new position. Throws FileException
    // when the position would be negative.
    virtual std::uint64_t Seek(std::int64_t offset, SeekFrom from) = 0;

    // The file's size in bytes.
    virtual std::uint64_t GetLength() const = 0;

    // Writes what the system still holds of the file through to the disk,
    // so that it survives a power cut. Throws FileException when that fails.
    // A file in memory has nothing to write through; this base does nothing.
    virtual void Flush() {}
};

}  // namespace hw
