#include "platform/files/MemFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/files/FileErrors.h"

namespace hw {

void MemFile::Free::operator()(std::uint8_t* p) const {
    std::free(p);
}

MemFile::MemFile(std::uint32_t growthStep) : growthStep_(growthStep == 0 ? 1024 : growthStep) {}

void MemFile::Reserve(std::size_t needed) {
    if (needed <= capacity_) return;
    std::size_t grown = std::max(needed, capacity_ * 2);
    grown = (grown + growthStep_ - 1) / growthStep_ * growthStep_;
    void* bigger = std::realloc(data_.get(), grown);
    if (bigger == nullptr) throw MemoryException();
    data_.release();
    data_.reset(static_cast<std::uint8_t*>(bigger));
    capacity_ = grown;
}

std::uint32_t MemFile::Read(void* buffer, std::uint32_t n) {
    if (position_ >= length_) return 0;
    const auto count = static_cast<std::uint32_t>(std::min<std::size_t>(n, length_ - position_));
    std::memcpy(buffer, data_.get() + position_, count);
    position_ += count;
    return count;
}

void MemFile::Write(const void* buffer, std::uint32_t n) {
    if (n == 0) return;
    const std::size_t end = position_ + n;
    Reserve(end);
    if (position_ > length_) std::memset(data_.get() + length_, 0, position_ - length_);
    std::memcpy(data_.get() + position_, buffer, n);
    position_ = end;
    length_ = std::max(length_, end);
}

std::uint64_t MemFile::Seek(std::int64_t offset, SeekFrom from) {
    std::int64_t base = 0;
    if (from == SeekFrom::Current) base = static_cast<std::int64_t>(position_);
    if (from == SeekFrom::End) base = static_cast<std::int64_t>(length_);
    const std::int64_t target = base + offset;
    if (target < 0) throw FileException(FileException::Cause::BadPath, "memory file");
    position_ = static_cast<std::size_t>(target);
    return position_;
}

}  // namespace hw
