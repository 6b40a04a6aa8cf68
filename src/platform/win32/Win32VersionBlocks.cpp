#include "platform/win32/Win32VersionBlocks.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "platform/win32/Win32Utf8.h"

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
        const auto* text = static_cast<const wchar_t*>(Query(keyPath.c_str(), length));
        if (text == nullptr) return std::nullopt;
        // The length counts characters and may include the final NUL.
        return Narrow(std::wstring_view(text, wcsnlen(text, length)));
    }

  private:
    // The value at subBlock, nullptr unless the query succeeds.
    const void* Query(const char* subBlock, UINT& length) const {
        if (!read) return nullptr;
        void* value = nullptr;
        // The query takes a non-const block but only reads it.
        auto* block = const_cast<char*>(data.data());
        if (VerQueryValueW(block, Widen(subBlock).c_str(), &value, &length) != TRUE) return nullptr;
        return value;
    }

    std::vector<char> data;
    bool read;
};

}  // namespace

std::unique_ptr<VersionBlock> Win32VersionBlocks::Read(const std::string& path) {
    DWORD ignored = 0;
    const std::wstring widePath = Widen(path);
    const DWORD size = GetFileVersionInfoSizeW(widePath.c_str(), &ignored);
    if (size == 0) return nullptr;
    std::vector<char> data(size);
    const bool read = GetFileVersionInfoW(widePath.c_str(), 0, size, data.data()) == TRUE;
    return std::make_unique<Win32VersionBlock>(std::move(data), read);
}

}  // namespace hw
