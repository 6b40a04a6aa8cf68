#include "ui/win32/Win32Shell.h"

#include "ui/win32/Win32Handles.h"
// These need <windows.h> first.
#include <commdlg.h>
#include <shellapi.h>

namespace hw::ui {

namespace {

// "a|b||" as the double-NUL-terminated list that the common dialogs take.
std::string FilterList(const std::string& filter) {
    std::string list = filter;
    std::replace(list.begin(), list.end(), '|', '\0');
    list.push_back('\0');
    return list;
}

}  // namespace

int Win32Shell::ShowMessageBox(WindowId owner, std::string_view text, std::string_view caption,
                               std::uint32_t style) {
    HWND hwnd = owner != kNoWindow ? ToHwnd(owner) : GetActiveWindow();
    return MessageBoxW(hwnd, Widen(text).c_str(), Widen(caption).c_str(), style);
}

std::optional<std::string> Win32Shell::ShowFileDialog(WindowId owner,
                                                      const FileDialogOptions& options) {
    // The wide dialogs give a chosen path whole whatever the ANSI code page.
    const std::wstring filter = Widen(FilterList(options.filter));
    const std::wstring extension = Widen(options.defaultExtension);
    std::wstring path(4096, L'\0');
    Widen(options.initialName).copy(path.data(), path.size() - 1);
    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = ToHwnd(owner);
    request.lpstrFilter = options.filter.empty() ? nullptr : filter.c_str();
    request.lpstrFile = path.data();
    request.nMaxFile = static_cast<DWORD>(path.size());
    const std::wstring initialFolder = Widen(options.initialFolder);
    request.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
    request.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    request.Flags = options.flags | OFN_EXPLORER;
    const BOOL chosen = options.open ? GetOpenFileNameW(&request) : GetSaveFileNameW(&request);
    if (!chosen) return std::nullopt;
    if (options.chosenFilter != nullptr)
        *options.chosenFilter = static_cast<int>(request.nFilterIndex);
    path.resize(path.find(L'\0'));
    return Narrow(path);
}

bool Win32Shell::OpenDocument(WindowId owner, const std::string& path) {
    // ShellExecute answers with a value above 32 when it succeeded.
    const HINSTANCE result =
        ShellExecuteW(ToHwnd(owner), L"open", Widen(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool Win32Shell::HasSystemMenu(WindowId window) const {
    return GetSystemMenu(ToHwnd(window), FALSE) != nullptr;
}

void Win32Shell::AppendSystemMenuSeparator(WindowId window) {
    if (HMENU menu = GetSystemMenu(ToHwnd(window), FALSE))
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
}

void Win32Shell::AppendSystemMenuItem(WindowId window, int commandId, std::string_view text) {
    if (HMENU menu = GetSystemMenu(ToHwnd(window), FALSE)) {
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(commandId), Widen(text).c_str());
    }
}

std::string Win32Shell::LoadStringResource(int id) const {
    constexpr int kLongest = 4096;
    wchar_t text[kLongest];
    const int length = LoadStringW(Instance(), static_cast<UINT>(id), text, kLongest);
    return Narrow(std::wstring_view(text, static_cast<std::size_t>(std::max(length, 0))));
}

IconHandle Win32Shell::LoadIconResource(int id) const {
    return reinterpret_cast<IconHandle>(LoadIconW(Instance(), MAKEINTRESOURCEW(id)));
}

}  // namespace hw::ui
