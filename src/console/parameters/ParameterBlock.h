// The machine's parameter block as bytes in memory: read from the machine as
// Get Parameters reads it, and compared byte by byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "commands/MachineLink.h"
#include "platform/files/File.h"

namespace hw {

using ParameterBlock = std::vector<std::uint8_t>;

// The machine's whole parameter block, read with GetParameters; nothing when
// the read fails (a memory error has then been shown).
std::optional<ParameterBlock> ReadParameterBlock(MachineLink& link);

// The offset, from 0, of the first byte at which a and b differ, the end of
// the shorter one when one is the start of the other; nothing when they are
// identical.
std::optional<std::size_t> FirstDifference(std::span<const std::uint8_t> a,
                                           std::span<const std::uint8_t> b);

// A parameter block file's bytes, when it holds exactly length bytes;
// otherwise only its size, so that a large file of another kind is not read
// at all.
struct BlockFile {
    std::uint64_t size = 0;
    ParameterBlock bytes;
};

// Reads in from its current position; throws FrameworkException when it
// cannot be read.
BlockFile ReadBlockFile(File& in, std::size_t length);

// How many bytes at the same offset differ in two blocks of the same length.
std::size_t DifferingBytes(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b);

}  // namespace hw
