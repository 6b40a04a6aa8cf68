// The NT registry walk of the device discovery on the real registry (Wine's):
// the test lays out one machine's Plug and Play keys below
// HKEY_LOCAL_MACHINE, names unique to this process, and removes them after.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/FakePlatform.h"
#include "link/Discovery.h"
#include "platform/device/System.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Text.h"

namespace hw::test {
namespace {

// Keys made below HKEY_LOCAL_MACHINE; each tree the test made (not the
// parents that were there before) is deleted at the end.
class MadeKeys {
  public:
    MadeKeys() = default;
    MadeKeys(const MadeKeys&) = delete;
    MadeKeys& operator=(const MadeKeys&) = delete;
    ~MadeKeys() {
        for (auto it = made.rbegin(); it != made.rend(); ++it) {
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, it->c_str());
        }
    }

    // Makes the key at path, part by part, and sets a text value when name
    // is not empty. False when the registry refuses.
    bool Set(const std::string& path, const std::string& name = "", const std::string& value = "") {
        std::string sofar;
        HKEY key = nullptr;
        for (std::size_t start = 0; start <= path.size();) {
            const std::size_t end = std::min(path.find('\\', start), path.size());
            sofar = path.substr(0, end);
            start = end + 1;
            if (key != nullptr) RegCloseKey(key);
            DWORD disposition = 0;
            if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, sofar.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &key, &disposition) != ERROR_SUCCESS) {
                return false;
            }
            if (disposition == REG_CREATED_NEW_KEY && !Below(sofar)) made.push_back(sofar);
        }
        LSTATUS status = ERROR_SUCCESS;
        if (!name.empty()) {
            status = RegSetValueExA(key, name.c_str(), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(value.c_str()),
                                    static_cast<DWORD>(value.size() + 1));
        }
        RegCloseKey(key);
        return status == ERROR_SUCCESS;
    }

  private:
    // True when path lies in a tree already recorded.
    bool Below(const std::string& path) const {
        for (const auto& top : made) {
            if (path.size() > top.size() && path.compare(0, top.size(), top) == 0 &&
                path[top.size()] == '\\') {
                return true;
            }
        }
        return false;
    }

    std::vector<std::string> made;
};

TEST(Win32Discovery, NtWalkResolvesAQueueThroughTheRegistry) {
    const std::string id = std::to_string(GetCurrentProcessId());
    const std::string port = "HXW" + id;
    const std::string serial = "SER" + id;
    const std::string device = "VID_0F2A&PID_F" + id;
    const std::string guid = "{hexwarden-test-" + id + "}";
    const std::string prefix = "7&hw" + id + "&0";
    const std::string link = "\\\\?\\USB#" + device + "#" + serial + "#" + guid;

    MadeKeys keys;
    // A node of another printer on the same port comes first and is passed over.
    ASSERT_TRUE(
        keys.Set(std::string(kNtPrintRoot) + "\\HexwardenOther" + id + "\\" + prefix + "0&" + port,
                 "DeviceDesc", "Another Printer"));
    ASSERT_TRUE(
        keys.Set(std::string(kNtPrintRoot) + "\\HexwardenTest" + id + "\\" + prefix + "&" + port,
                 "DeviceDesc", "VARNEL qmv-240"));
    const std::string usb = std::string(kNtUsbRoot) + "\\" + device + "\\" + serial;
    ASSERT_TRUE(keys.Set(usb, "ParentIdPrefix", prefix));
    ASSERT_TRUE(keys.Set(usb + "\\Device Parameters", "SymbolicName",
                         "\\??\\USB#" + device + "#" + serial + "#" + guid));
    ASSERT_TRUE(keys.Set(std::string(kDeviceClassesRoot) + "\\" + guid + "\\##?#USB#" + device +
                             "#" + serial + "#" + guid + "\\#",
                         "SymbolicLink", link));

    FakeSpooler spooler;
    spooler.printers.push_back({"Engraver " + id, port, kMachineDriver});
    Win32Registry registry;
    Win32Text text;
    std::string path;
    ASSERT_TRUE(
        ResolveDevicePath(spooler, registry, text, "Engraver " + id, kPlatformWin32Nt, path));
    EXPECT_EQ(path, link);
    EXPECT_EQ(spooler.openPrinters, 0);
}

}  // namespace
}  // namespace hw::test
