#include "platform/win32/Win32VersionBlocks.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace hw {

namespace {

class Win32VersionBlock final : public VersionBlock {
  public:
    Win32VersionBlock(std::vector<char> data, bool read) : data(std::move(data)), read(read) {}

    std::optional<std::vector<VersionTranslation>> Translations() const override {
        UINT length = 0;
        if (Query("\\", length) == nullptr) return std::nullopt;
        const void* table = Query("\\VarFileInfo\\Translation", length);
        if (table == nullptr) return std::nullopt;
        // Each entry: the language, then the code page, 16 bits each.
        std::vector<VersionTranslation> entries(length / sizeof(DWORD));
        const auto* words = static_cast<const WORD*>(table);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            entries[i] = {words[2 * i], words[2 * i + 1]};
        }
        return entries;
    }

    std::optional<std::string> StringValue(const std::string& keyPath) const override {
        UINT length = 0;
        const auto* text = static_cast<const char*>(Query(keyPath.c_str(), length));
        if (text == nullptr) return std::nullopt;
        // The length counts characters and may include the final NUL.
        return std::string(text, strnlen(text, length));
    }

  private:
    // The value at subBlock, nullptr unless the query succeeds.
    const void* Query(const char* subBlock, UINT& length) const {
        if (!read) return nullptr;
        void* value = nullptr;
        // The query takes a non-const block but only reads it.
        auto* block = const_cast<char*>(data.data());
        if (VerQueryValueA(block, subBlock, &value, &length) != TRUE) return nullptr;
        return value;
    }

    std::vector<char> data;
    bool read;
};

}  // namespace

std::unique_ptr<VersionBlock> Win32VersionBlocks::Read(const std::string& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return nullptr;
    std::vector<char> data(size);
    const bool read = GetFileVersionInfoA(path.c_str(), 0, size, data.data()) == TRUE;
    return std::make_unique<Win32VersionBlock>(std::move(data), read);
}

}  // namespace hw
