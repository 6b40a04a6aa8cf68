// What the Wine tests of the wide calls stand on: a folder whose name no ANSI
// code page holds, and a value of the user's registry set for a span.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/Win32Utf8.h"

namespace hw::test {

// A path below the temporary folder, stem and this process's id, ending in
// "Łukasz-李" (UTF-8), without a trailing separator. Nothing is made.
inline std::string PathOutsideCodePage(const std::string& stem) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return Narrow(temp) + stem + "-" + std::to_string(GetCurrentProcessId()) +
           "-\xC5\x81ukasz-\xE6\x9D\x8E";
}

// A value below HKEY_CURRENT_USER set for the object's life; the value it
// had, or its absence, comes back at the end.
class UserRegistryValue {
  public:
    UserRegistryValue(const wchar_t* keyPath, const wchar_t* name, DWORD type, const void* data,
                      DWORD size)
        : name(name) {
        RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr);
        DWORD previousSize = 0;
        hadPrevious = RegQueryValueExW(key, name, nullptr, &previousType, nullptr, &previousSize) ==
                      ERROR_SUCCESS;
        previous.resize(previousSize);
        if (hadPrevious) {
            RegQueryValueExW(key, name, nullptr, &previousType, previous.data(), &previousSize);
        }
        RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    }
    ~UserRegistryValue() {
        if (hadPrevious) {
            RegSetValueExW(key, name, 0, previousType, previous.data(),
                           static_cast<DWORD>(previous.size()));
        } else {
            RegDeleteValueW(key, name);
        }
        RegCloseKey(key);
    }
    UserRegistryValue(const UserRegistryValue&) = delete;
    UserRegistryValue& operator=(const UserRegistryValue&) = delete;

  private:
    const wchar_t* name;
    HKEY key = nullptr;
    DWORD previousType = 0;
    std::vector<BYTE> previous;
    bool hadPrevious = false;
};

}  // namespace hw::test
