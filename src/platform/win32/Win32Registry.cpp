#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <algorithm>
#include <new>
#include <vector>

namespace hw {

namespace {

constexpr DWORD kTextBufferSize = kRegistryTextMax + 1;

HKEY ToKey(OsHandle key) {
    return key == kLocalMachineKey ? HKEY_LOCAL_MACHINE : reinterpret_cast<HKEY>(key);
}

// The text of count bytes at data, cut at the first NUL and at
// kRegistryTextMax characters; never reads past count.
std::string TextOf(const BYTE* data, DWORD count) {
    const auto* first = reinterpret_cast<const char*>(data);
    const auto* last = first + std::min<std::size_t>(count, kRegistryTextMax);
    return std::string(first, std::find(first, last, '\0'));
}

// A value too large for the text buffer: read it whole once more and keep its
// head. False when it still cannot be read (it grew meanwhile, or no memory).
bool QueryLongValue(HKEY key, const char* valueName, DWORD size, std::string& value) {
    try {
        std::vector<BYTE> data(size);
        if (RegQueryValueExA(key, valueName, nullptr, nullptr, data.data(), &size) !=
            ERROR_SUCCESS) {
            return false;
        }
        value = TextOf(data.data(), std::min<DWORD>(size, static_cast<DWORD>(data.size())));
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace

bool Win32Registry::OpenKey(OsHandle parent, const std::string& subkey, OsHandle& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(ToKey(parent), subkey.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return false;
    }
    key = reinterpret_cast<OsHandle>(opened);
    return true;
}

EnumKeyOutcome Win32Registry::EnumSubkey(OsHandle key, std::uint32_t index, std::string& name) {
    char buffer[kTextBufferSize] = {};
    DWORD size = kTextBufferSize;
    const LSTATUS status =
        RegEnumKeyExA(ToKey(key), index, buffer, &size, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return EnumKeyOutcome::NoMoreItems;
    if (status != ERROR_SUCCESS) return EnumKeyOutcome::Failed;
    name = TextOf(reinterpret_cast<const BYTE*>(buffer), std::min(size, kTextBufferSize));
    return EnumKeyOutcome::Found;
}

bool Win32Registry::QueryValue(OsHandle key, const std::string& valueName, std::string& value) {
    BYTE buffer[kTextBufferSize] = {};
    DWORD size = kTextBufferSize;
    const LSTATUS status =
        RegQueryValueExA(ToKey(key), valueName.c_str(), nullptr, nullptr, buffer, &size);
    if (status == ERROR_MORE_DATA) {
        return QueryLongValue(ToKey(key), valueName.c_str(), size, value);
    }
    if (status != ERROR_SUCCESS) return false;
    value = TextOf(buffer, std::min(size, kTextBufferSize));
    return true;
}

void Win32Registry::CloseKey(OsHandle key) {
    if (key != kLocalMachineKey) RegCloseKey(ToKey(key));
}

}  // namespace hw
