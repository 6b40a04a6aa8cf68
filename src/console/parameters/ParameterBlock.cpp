#include "console/parameters/ParameterBlock.h"

#include <algorithm>

#include "platform/files/MemFile.h"

namespace hw {

namespace {

constexpr std::uint32_t kBlockGrowth = 1024;

}  // namespace

std::optional<ParameterBlock> ReadParameterBlock(MachineLink& link) {
    MemFile block(kBlockGrowth);
    if (!link.GetParameters(block)) return std::nullopt;
    const std::uint8_t* data = block.Data();
    return ParameterBlock(data, data + block.GetLength());
}

std::optional<std::size_t> FirstDifference(std::span<const std::uint8_t> a,
                                           std::span<const std::uint8_t> b) {
    const std::size_t common = std::min(a.size(), b.size());
    const auto differs = std::mismatch(a.begin(), a.begin() + common, b.begin());
    const auto at = static_cast<std::size_t>(differs.first - a.begin());
    if (at == common && a.size() == b.size()) return std::nullopt;
    return at;
}

std::size_t DifferingBytes(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) count += a[i] != b[i] ? 1 : 0;
    return count;
}

}  // namespace hw
