#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files/FileErrors.h"
#include "platform/files/MemFile.h"

namespace hw::test {
namespace {

std::string ReadAll(MemFile& file) {
    std::string text(static_cast<std::size_t>(file.GetLength()), '\0');
    file.Seek(0, File::SeekFrom::Begin);
    text.resize(file.Read(text.data(), static_cast<std::uint32_t>(text.size())));
    return text;
}

TEST(MemFile, ReadsBackWhatWasWrittenFromTheCurrentPosition) {
    MemFile file;
    file.Write("hello world", 11);
    EXPECT_EQ(file.GetLength(), 11u);
    EXPECT_EQ(file.Seek(6, File::SeekFrom::Begin), 6u);
    char piece[8] = {};
    EXPECT_EQ(file.Read(piece, 8), 5u);
    EXPECT_STREQ(piece, "world");
    EXPECT_EQ(file.Read(piece, 8), 0u);  // at the end
}

TEST(MemFile, OverwritesInPlaceAndGrowsOnlyPastTheEnd) {
    MemFile file;
    file.Write("abcdef", 6);
    file.Seek(-4, File::SeekFrom::End);
    file.Write("XY", 2);
    EXPECT_EQ(file.GetLength(), 6u);
    file.Seek(1, File::SeekFrom::Current);
    file.Write("123", 3);
    EXPECT_EQ(ReadAll(file), "abXYe123");
}

TEST(MemFile, WritingPastTheEndFillsTheGapWithZeros) {
    MemFile file;
    file.Write("ab", 2);
    file.Seek(5, File::SeekFrom::Begin);
    file.Write("c", 1);
    EXPECT_EQ(ReadAll(file), std::string("ab\0\0\0c", 6));
}

TEST(MemFile, NegativePositionIsRefused) {
    MemFile file;
    file.Write("abc", 3);
    EXPECT_THROW(file.Seek(-4, File::SeekFrom::End), FileException);
    EXPECT_EQ(file.Seek(0, File::SeekFrom::Current), 3u);
}

TEST(MemFile, CapacityGrowsGeometricallyInWholeSteps) {
    MemFile file(1024);
    EXPECT_EQ(file.Capacity(), 0u);
    std::vector<std::size_t> capacities;
    const std::string piece(1023, 'r');
    for (int i = 0; i < 200; ++i) {
        file.Write(piece.data(), static_cast<std::uint32_t>(piece.size()));
        if (capacities.empty() || capacities.back() != file.Capacity()) {
            capacities.push_back(file.Capacity());
        }
    }
    EXPECT_EQ(file.GetLength(), 200u * 1023);
    for (std::size_t i = 0; i < capacities.size(); ++i) {
        EXPECT_EQ(capacities[i] % 1024, 0u);
        if (i > 0) {
            EXPECT_GE(capacities[i], 2 * capacities[i - 1]);
        }
    }
    // 200 appends reallocate a handful of times, not once per piece.
    EXPECT_LE(capacities.size(), 10u);
}

TEST(FileException, ErrorTextsNameTheFile) {
    using Cause = FileException::Cause;
    const struct {
        Cause cause;
        const char* text;
    } cases[] = {
        {Cause::FileNotFound, "params.bin was not found."},
        {Cause::BadPath, "params.bin contains an invalid path."},
        {Cause::AccessDenied, "Access to params.bin was denied."},
        {Cause::SharingViolation, "A sharing violation occurred while accessing params.bin."},
        {Cause::DiskFull, "Disk full while accessing params.bin."},
        {Cause::EndOfFile, "An attempt was made to access params.bin past its end."},
        {Cause::Generic, "An unexpected error occurred while accessing params.bin."},
        {Cause::None, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileException(c.cause, "params.bin").ErrorMessage(), c.text);
    }
    EXPECT_EQ(MemoryException().ErrorMessage(), "Out of memory.");
}

}  // namespace
}  // namespace hw::test
