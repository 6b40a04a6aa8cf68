#include "platform/win32/Win32UserSettings.h"

#include <windows.h>

#include <vector>

#include "platform/win32/Win32Utf8.h"

namespace hw {

namespace {

constexpr const wchar_t* kProgramKey = L"Software\\Hexwarden";
// A remembered text is short; a longer value is not the program's own.
constexpr DWORD kMaxBytes = 4096;

}  // namespace

std::optional<std::string> Win32UserSettings::Read(const std::string& name) {
    std::vector<wchar_t> text(kMaxBytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = kMaxBytes;
    if (RegGetValueW(HKEY_CURRENT_USER, kProgramKey, Widen(name).c_str(), RRF_RT_REG_SZ, nullptr,
                     text.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return Narrow(text.data());
}

bool Win32UserSettings::Write(const std::string& name, const std::string& text) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kProgramKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring wide = Widen(text);
    const auto bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    const LSTATUS status = RegSetValueExW(key, Widen(name).c_str(), 0, REG_SZ,
                                          reinterpret_cast<const BYTE*>(wide.c_str()), bytes);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

}  // namespace hw
