#include "platform/win32/Win32Registry.h"

#include <algorithm>
#include <utility>

#include "platform/win32/Win32Utf8.h"

namespace hw {

namespace {

// Room for kRegistryTextMax characters and their NUL.
constexpr DWORD kTextBufferSize = kRegistryTextMax + 1;

HKEY ToKey(OsHandle key) {
    return key == kLocalMachineKey ? HKEY_LOCAL_MACHINE : reinterpret_cast<HKEY>(key);
}

bool IsTextType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// The characters of count units at data, up to the first NUL; never reads
// past count.
template <class Char>
std::basic_string<Char> UpToNul(const Char* data, std::size_t count) {
    return std::basic_string<Char>(data, std::find(data, data + count, Char{}));
}

}  // namespace

bool Win32Registry::OpenKey(OsHandle parent, const std::string& subkey, OsHandle& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(ToKey(parent), Widen(subkey).c_str(), 0, KEY_READ, &opened) !=
        ERROR_SUCCESS) {
        return false;
    }
    key = reinterpret_cast<OsHandle>(opened);
    return true;
}

EnumKeyOutcome Win32Registry::EnumSubkey(OsHandle key, std::uint32_t index, std::string& name) {
    wchar_t buffer[kTextBufferSize] = {};
    DWORD size = kTextBufferSize;
    const LSTATUS status =
        RegEnumKeyExW(ToKey(key), index, buffer, &size, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return EnumKeyOutcome::NoMoreItems;
    if (status != ERROR_SUCCESS) return EnumKeyOutcome::Failed;
    name = Narrow(UpToNul(buffer, std::min<DWORD>(size, kRegistryTextMax)));
    return EnumKeyOutcome::Found;
}

bool Win32Registry::QueryValue(OsHandle key, const std::string& valueName, std::string& value) {
    // Texts come in UTF-16, two bytes a character; a value of another type
    // comes as its bytes, which are read as text as they are.
    wchar_t buffer[kTextBufferSize] = {};
    DWORD type = REG_NONE;
    DWORD size = sizeof buffer;
    // A value too large for the buffer fails with ERROR_MORE_DATA: it is
    // unreadable, as a device path cut short would open the wrong device.
    if (RegQueryValueExW(ToKey(key), Widen(valueName).c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS) {
        return false;
    }
    // A full buffer without a NUL holds a text longer than kRegistryTextMax.
    if (IsTextType(type)) {
        const std::wstring text = UpToNul(buffer, size / sizeof(wchar_t));
        if (text.size() > kRegistryTextMax) return false;
        value = Narrow(text);
    } else {
        std::string text = UpToNul(reinterpret_cast<const char*>(buffer), size);
        if (text.size() > kRegistryTextMax) return false;
        value = std::move(text);
    }
    return true;
}

void Win32Registry::CloseKey(OsHandle key) {
    if (key != kLocalMachineKey) RegCloseKey(ToKey(key));
}

}  // namespace hw
