// A test that needs a process of its own (another screen resolution, a
// program file in another folder) runs again in a second process: this
// program, or a copy of it, with only that test and an environment variable
// that tells the test it is the second run.
#pragma once

#include <windows.h>

#include <string>

namespace hw::test {

// True in the second run that RunTestAgain started with marker.
inline bool IsSecondRun(const wchar_t* marker) {
    return GetEnvironmentVariableW(marker, nullptr, 0) != 0;
}

// Runs program with only the test named by filter and marker set, and waits
// for it; its exit code, ~0u when it did not start or had to be ended after
// two minutes.
inline DWORD RunTestAgain(const std::wstring& program, const std::wstring& filter,
                          const wchar_t* marker) {
    SetEnvironmentVariableW(marker, L"1");
    std::wstring command = L"\"" + program + L"\" --gtest_filter=" + filter;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                                        nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableW(marker, nullptr);
    if (!started) return ~0u;
    if (WaitForSingleObject(process.hProcess, 120000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, ~0u);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    DWORD code = ~0u;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

// This program's own path.
inline std::wstring ThisProgram() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return self;
}

}  // namespace hw::test
