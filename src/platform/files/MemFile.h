// A growable file in memory. Capacity grows geometrically, in multiples of
// the growth step, so appending n bytes costs amortised O(n); the block is
// grown in place where the allocator can, so large files are not copied.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/files/File.h"

namespace hw {

class MemFile final : public File {
  public:
    explicit MemFile(std::uint32_t growthStep = 1024);

    std::uint32_t Read(void* buffer, std::uint32_t n) override;
    void Write(const void* buffer, std::uint32_t n) override;
    std::uint64_t Seek(std::int64_t offset, SeekFrom from) override;
    std::uint64_t GetLength() const override { return length_; }

    // The bytes written so far (GetLength() of them); null while empty.
    const std::uint8_t* Data() const { return data_.get(); }
    std::size_t Capacity() const { return capacity_; }

  private:
    void Reserve(std::size_t needed);

    std::uint32_t growthStep_;
    struct Free {
        void operator()(std::uint8_t* p) const;
    };
    std::unique_ptr<std::uint8_t, Free> data_;
    std::size_t capacity_ = 0;
    std::size_t length_ = 0;
    std::size_t position_ = 0;
};

}  // namespace hw
