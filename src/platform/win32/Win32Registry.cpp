#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <algorithm>
#include <utility>

namespace hw {

namespace {

constexpr DWORD kTextBufferSize = kRegistryTextMax + 1;

HKEY ToKey(OsHandle key) {
    return key == kLocalMachineKey ? HKEY_LOCAL_MACHINE : reinterpret_cast<HKEY>(key);
}

// The text of count bytes at data, up to the first NUL; never reads past count.
std::string TextOf(const BYTE* data, DWORD count) {
    const auto* first = reinterpret_cast<const char*>(data);
    return std::string(first, std::find(first, first + count, '\0'));
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
    name = TextOf(reinterpret_cast<const BYTE*>(buffer), std::min<DWORD>(size, kRegistryTextMax));
    return EnumKeyOutcome::Found;
}

bool Win32Registry::QueryValue(OsHandle key, const std::string& valueName, std::string& value) {
    BYTE buffer[kTextBufferSize] = {};
    DWORD size = kTextBufferSize;
    // A value too large for the buffer fails with ERROR_MORE_DATA: it is
    // unreadable, as a device path cut short would open the wrong device.
    if (RegQueryValueExA(ToKey(key), valueName.c_str(), nullptr, nullptr, buffer, &size) !=
        ERROR_SUCCESS) {
        return false;
    }
    // A full buffer without a NUL holds a text longer than kRegistryTextMax.
    std::string text = TextOf(buffer, std::min(size, kTextBufferSize));
    if (text.size() > kRegistryTextMax) return false;
    value = std::move(text);
    return true;
}

void Win32Registry::CloseKey(OsHandle key) {
    if (key != kLocalMachineKey) RegCloseKey(ToKey(key));
}

}  // namespace hw
