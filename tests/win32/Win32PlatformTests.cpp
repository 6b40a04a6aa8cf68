// The Win32 platform layer against the real OS (Wine on the build machine):
// named mutexes, device file calls, the clock, the registry, the spooler and
// disk files.
#include <windows.h>
#include <winspool.h>
// The interface's OpenPrinter, not the ANSI/wide selector macro.
#undef OpenPrinter

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "OwnedHandle.h"
#include "WideTestPlaces.h"
#include "platform/win32/Win32DeviceFiles.h"
#include "platform/win32/Win32DiskFile.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32NamedLocks.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Spooler.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32UserSettings.h"
#include "platform/win32/Win32Utf8.h"

namespace hw::test {
namespace {

using namespace std::string_literals;

// A name unique to this test process, so that parallel runs do not meet.
std::string Unique(const std::string& stem) {
    return stem + "-" + std::to_string(GetCurrentProcessId());
}

std::string TempPath(const std::string& leaf) {
    char dir[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof dir, dir);
    return std::string(dir, length) + Unique("hexwarden") + "-" + leaf;
}

// "Łukasz-李" in UTF-8: letters of no ANSI code page the prefix may use.
constexpr const char* kOutside = "\xC5\x81ukasz-\xE6\x9D\x8E";

std::string ContentOf(const std::string& path) {
    std::ifstream in(std::filesystem::path(Widen(path)), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A file in the temp folder, removed at the end.
struct TempFile {
    explicit TempFile(const std::string& leaf, const std::string& content = "")
        : path(TempPath(leaf)) {
        std::ofstream(std::filesystem::path(Widen(path)), std::ios::binary) << content;
    }
    ~TempFile() { DeleteFileW(Widen(path).c_str()); }
    std::string path;
};

TEST(Win32Handles, InvalidHandleIsTheOsValue) {
    EXPECT_EQ(ToOsHandle(INVALID_HANDLE_VALUE), kInvalidHandle);
    EXPECT_EQ(ToHandle(kInvalidHandle), INVALID_HANDLE_VALUE);
    EXPECT_EQ(ToOsHandle(nullptr), kNullHandle);
}

// ---- Named locks ----

class Win32NamedLocksTest : public ::testing::Test {
  protected:
    // Runs body on a thread of its own, with its own handle to the mutex.
    template <typename Body>
    void OnOtherThread(Body body) {
        std::thread([&] {
            const OsHandle lock = Create(name);
            ASSERT_NE(lock, kNullHandle);
            body(lock);
            locks.Close(lock);
        }).join();
    }

    OsHandle Create(const std::string& lockName) {
        bool accessDenied = false;
        return locks.Create(lockName, accessDenied);
    }

    Win32NamedLocks locks;
    // A printer name, which the lock's name holds, may lie outside the code page.
    const std::string name = "Global\\" + Unique("HexwardenTestLock-") + kOutside;
};

TEST_F(Win32NamedLocksTest, SameNameOpensTheSameMutex) {
    const OsHandle first = Create(name);
    const OsHandle second = Create(name);
    ASSERT_NE(first, kNullHandle);
    ASSERT_NE(second, kNullHandle);
    EXPECT_NE(first, second);

    ASSERT_EQ(locks.Wait(first, 0), WaitOutcome::Acquired);
    WaitOutcome other = WaitOutcome::Failed;
    OnOtherThread([&](OsHandle lock) {
        locks.Release(lock);  // not the owner: no effect
        other = locks.Wait(lock, 50);
    });
    EXPECT_EQ(other, WaitOutcome::TimedOut);

    locks.Release(first);
    OnOtherThread([&](OsHandle lock) {
        other = locks.Wait(lock, 1000);
        locks.Release(lock);
    });
    EXPECT_EQ(other, WaitOutcome::Acquired);
    locks.Close(first);
    locks.Close(second);
}

TEST_F(Win32NamedLocksTest, OwnerThreadEndingWithoutReleaseAbandonsIt) {
    const OsHandle mine = Create(name);
    ASSERT_NE(mine, kNullHandle);
    WaitOutcome owner = WaitOutcome::Failed;
    OnOtherThread([&](OsHandle lock) { owner = locks.Wait(lock, 0); });
    ASSERT_EQ(owner, WaitOutcome::Acquired);

    EXPECT_EQ(locks.Wait(mine, 1000), WaitOutcome::Abandoned);
    OnOtherThread([&](OsHandle lock) { owner = locks.Wait(lock, 0); });
    EXPECT_EQ(owner, WaitOutcome::TimedOut) << "the waiter that found it abandoned owns it";
    locks.Release(mine);
    OnOtherThread([&](OsHandle lock) {
        owner = locks.Wait(lock, 0);
        locks.Release(lock);
    });
    EXPECT_EQ(owner, WaitOutcome::Acquired);
    locks.Close(mine);
}

TEST_F(Win32NamedLocksTest, ClosedHandleFailsToWait) {
    const OsHandle lock = Create(name);
    ASSERT_NE(lock, kNullHandle);
    locks.Close(lock);
    EXPECT_EQ(locks.Wait(lock, 0), WaitOutcome::Failed);
}

// What a transaction falls back to when the mutex refuses it full access: a
// handle that can wait for the mutex and release it.
TEST_F(Win32NamedLocksTest, OpenToWaitOpensOnlyAnExistingMutex) {
    EXPECT_EQ(locks.OpenToWait(name), kNullHandle);
    const OsHandle made = Create(name);
    const OsHandle opened = locks.OpenToWait(name);
    ASSERT_NE(opened, kNullHandle);
    EXPECT_EQ(locks.Wait(opened, 0), WaitOutcome::Acquired);
    WaitOutcome other = WaitOutcome::Failed;
    OnOtherThread([&](OsHandle lock) { other = locks.Wait(lock, 0); });
    EXPECT_EQ(other, WaitOutcome::TimedOut);
    locks.Release(opened);
    locks.Close(opened);
    locks.Close(made);
}

TEST_F(Win32NamedLocksTest, NameHeldByAnotherKindOfObjectGivesNullHandle) {
    const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, Widen(name).c_str());
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(Create(name), kNullHandle);
    CloseHandle(event);
}

// lock_holder.exe (LockHolder.cpp, beside this test binary) holding the named
// mutex from a process of its own until Finish or the end of this object.
class LockHolderProcess {
  public:
    explicit LockHolderProcess(const std::string& mutexName)
        : heldName(Unique("HexwardenTestHeld")),
          endName(Unique("HexwardenTestEnd")),
          held(CreateEventA(nullptr, TRUE, FALSE, heldName.c_str())),
          end(CreateEventA(nullptr, TRUE, FALSE, endName.c_str())) {
        std::wstring command =
            Widen("\"" + ProgramPath() + "\" " + mutexName + " " + heldName + " " + endName);
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started = {};
        if (held && end &&
            CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &started)) {
            CloseHandle(started.hThread);
            process = started.hProcess;
        }
    }
    ~LockHolderProcess() { Finish(); }

    // True once the other process holds the mutex.
    bool Holds() const {
        return process != nullptr && WaitForSingleObject(held.get(), 30000) == WAIT_OBJECT_0;
    }

    // Tells the other process to release the mutex and end; its exit code.
    DWORD Finish() {
        if (process == nullptr) return kNotRun;
        SetEvent(end.get());
        DWORD code = kNotRun;
        if (WaitForSingleObject(process, 30000) != WAIT_OBJECT_0 ||
            !GetExitCodeProcess(process, &code)) {
            TerminateProcess(process, kNotRun);
        }
        CloseHandle(process);
        process = nullptr;
        return code;
    }

    static constexpr DWORD kNotRun = 99;

  private:
    static std::string ProgramPath() {
        char self[MAX_PATH + 1] = {};
        const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
        const std::string path(self, length);
        return path.substr(0, path.rfind('\\') + 1) + "lock_holder.exe";
    }

    const std::string heldName;
    const std::string endName;
    const OwnedHandle held;
    const OwnedHandle end;
    HANDLE process = nullptr;
};

// Another process holds the lock: the wait gives up after its time-out, and
// succeeds once that process has released it.
TEST_F(Win32NamedLocksTest, LockHeldByAnotherProcessTimesOutThenIsTaken) {
    LockHolderProcess holder(name);
    ASSERT_TRUE(holder.Holds());
    const OsHandle lock = Create(name);
    ASSERT_NE(lock, kNullHandle);
    const DWORD before = GetTickCount();
    EXPECT_EQ(locks.Wait(lock, 300), WaitOutcome::TimedOut);
    EXPECT_GE(GetTickCount() - before, 250u) << "gave up before its time-out";

    EXPECT_EQ(holder.Finish(), 0u);
    EXPECT_EQ(locks.Wait(lock, 1000), WaitOutcome::Acquired);
    locks.Release(lock);
    locks.Close(lock);
}

// ---- Device files, on an ordinary file ----

// A text stored for the user reads back whole, outside the code page too,
// and a name never stored reads as none.
TEST(Win32UserSettings, StoresAndReadsBack) {
    Win32UserSettings settings;
    const std::string text = "QMV-240 (Kopie \xC5\x81)";
    ASSERT_TRUE(settings.Write("LastMachineTest", text));
    EXPECT_EQ(settings.Read("LastMachineTest"), text);
    EXPECT_FALSE(settings.Read("NeverStored").has_value());
}

TEST(Win32DeviceFiles, ReadsAndWritesAnOpenFile) {
    TempFile file("device-"s + kOutside + ".bin", "abcd");
    Win32DeviceFiles files;
    const OsHandle handle = files.Open(file.path, kFileAttributeNormal);
    ASSERT_NE(handle, kInvalidHandle);

    char buffer[16] = {};
    std::uint32_t done = 99;
    EXPECT_TRUE(files.Read(handle, buffer, sizeof buffer, done));
    EXPECT_EQ(done, 4u);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    EXPECT_TRUE(files.Read(handle, buffer, sizeof buffer, done));
    EXPECT_EQ(done, 0u) << "a read at the end succeeds with no bytes";
    EXPECT_TRUE(files.Write(handle, "efg", 3, done));
    EXPECT_EQ(done, 3u);

    EXPECT_TRUE(files.Close(handle));
    EXPECT_FALSE(files.Close(handle)) << "closing twice";
    EXPECT_EQ(ContentOf(file.path), "abcdefg");
}

TEST(Win32DeviceFiles, OpensExistingFilesOnlyAndWithoutSharing) {
    TempFile file("exclusive.bin", "x");
    Win32DeviceFiles files;
    EXPECT_EQ(files.Open(TempPath("missing.bin"), kFileAttributeNormal), kInvalidHandle);
    EXPECT_EQ(GetFileAttributesA(TempPath("missing.bin").c_str()), INVALID_FILE_ATTRIBUTES)
        << "nothing was created";

    const OsHandle handle = files.Open(file.path, kFileAttributeNormal);
    ASSERT_NE(handle, kInvalidHandle);
    EXPECT_EQ(files.Open(file.path, kFileAttributeNormal), kInvalidHandle);
    EXPECT_TRUE(files.Close(handle));
}

TEST(Win32DeviceFiles, ControlOnAPlainFileFails) {
    TempFile file("control.bin", "x");
    Win32DeviceFiles files;
    const OsHandle handle = files.Open(file.path, kFileAttributeNormal);
    ASSERT_NE(handle, kInvalidHandle);
    std::uint8_t block[35] = {0xF0, 0, 0};
    std::uint32_t returned = 0;
    EXPECT_FALSE(files.Control(handle, 0x0016000C, nullptr, 0, block, sizeof block, returned));
    EXPECT_FALSE(files.Control(handle, 0x00220038, block, sizeof block, nullptr, 0, returned));
    EXPECT_TRUE(files.Close(handle));
}

TEST(Win32DeviceFiles, CallsOnTheInvalidHandleFail) {
    Win32DeviceFiles files;
    char buffer[8] = {};
    std::uint32_t count = 0;
    EXPECT_FALSE(files.Read(kInvalidHandle, buffer, sizeof buffer, count));
    EXPECT_FALSE(files.Write(kInvalidHandle, buffer, sizeof buffer, count));
    EXPECT_FALSE(files.Control(kInvalidHandle, 0x0022003C, buffer, 3, buffer + 3, 5, count));
}

// ---- System ----

TEST(Win32System, TicksAdvanceAcrossASleep) {
    Win32System system;
    const std::uint32_t before = system.TickCount();
    system.Sleep(100);
    const std::uint32_t elapsed = system.TickCount() - before;
    EXPECT_GE(elapsed, 80u);  // the tick counter's granularity is coarse
    EXPECT_LT(elapsed, 5000u);
}

TEST(Win32System, ReportsTheNtPlatform) {
    Win32System system;
    std::uint32_t id = 0;
    ASSERT_TRUE(system.QueryPlatformId(id));
    EXPECT_EQ(id, kPlatformWin32Nt);
}

// ---- Registry ----

class Win32RegistryTest : public ::testing::Test {
  protected:
    static constexpr const char* kRoot = "SOFTWARE\\HexwardenTest";

    void SetUp() override {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kRoot);  // left over from an aborted run
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRoot, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &root, nullptr),
                  ERROR_SUCCESS);
        for (const auto& name : subkeys) {
            HKEY key = nullptr;
            ASSERT_EQ(RegCreateKeyExA(root, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                      &key, nullptr),
                      ERROR_SUCCESS);
            RegCloseKey(key);
        }
    }

    void TearDown() override {
        RegCloseKey(root);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kRoot);
    }

    void SetValue(const char* name, DWORD type, const std::string& bytes) {
        ASSERT_EQ(RegSetValueExA(root, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
    }

    OsHandle OpenRoot() {
        OsHandle key = kNullHandle;
        EXPECT_TRUE(registry.OpenKey(kLocalMachineKey, kRoot, key));
        return key;
    }

    Win32Registry registry;
    HKEY root = nullptr;
    const std::vector<std::string> subkeys = {"Alpha", "Beta", "Gamma", std::string(255, 'k')};
};

TEST_F(Win32RegistryTest, EnumeratesEverySubkeyThenNoMoreItems) {
    const OsHandle key = OpenRoot();
    std::vector<std::string> names;
    std::string name;
    std::uint32_t index = 0;
    while (registry.EnumSubkey(key, index, name) == EnumKeyOutcome::Found) {
        names.push_back(name);
        ++index;
    }
    EXPECT_EQ(registry.EnumSubkey(key, index, name), EnumKeyOutcome::NoMoreItems);
    EXPECT_EQ(registry.EnumSubkey(key, index + 5, name), EnumKeyOutcome::NoMoreItems);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, subkeys) << "the 255-character name comes back whole";
    registry.CloseKey(key);
    EXPECT_EQ(registry.EnumSubkey(key, 0, name), EnumKeyOutcome::Failed) << "closed key";
}

TEST_F(Win32RegistryTest, OpensNestedKeysAndLeavesTheKeyOnFailure) {
    const OsHandle parent = OpenRoot();
    OsHandle key = 0x1234;
    EXPECT_FALSE(registry.OpenKey(parent, "Missing", key));
    EXPECT_FALSE(registry.OpenKey(kLocalMachineKey, "SOFTWARE\\HexwardenTest\\Missing", key));
    EXPECT_EQ(key, 0x1234u);

    ASSERT_TRUE(registry.OpenKey(parent, "Alpha", key));
    registry.CloseKey(key);
    ASSERT_TRUE(registry.OpenKey(kLocalMachineKey, "SOFTWARE\\HexwardenTest\\Gamma", key));
    registry.CloseKey(key);
    registry.CloseKey(parent);
}

TEST_F(Win32RegistryTest, ClosingTheLocalMachineKeyKeepsItUsable) {
    registry.CloseKey(kLocalMachineKey);
    const OsHandle key = OpenRoot();
    EXPECT_NE(key, kNullHandle);
    registry.CloseKey(key);
}

// A key and a value whose names and text lie outside the code page read
// whole; a text of 255 such letters is within the limit, which counts
// characters, not the bytes of their UTF-8.
TEST_F(Win32RegistryTest, NamesAndTextsOutsideTheCodePageReadWhole) {
    const std::string path = "C:\\Users\\"s + kOutside;
    std::string full;
    for (int i = 0; i < 255; ++i) full += "\xC5\x81";
    HKEY made = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, Widen(kOutside).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &made, nullptr),
              ERROR_SUCCESS);
    for (const auto& [name, text] : {std::pair{kOutside, path}, std::pair{"Full", full}}) {
        const std::wstring wide = Widen(text);
        RegSetValueExW(made, Widen(name).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(wide.c_str()),
                       static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
    }
    RegCloseKey(made);

    const OsHandle parent = OpenRoot();
    std::vector<std::string> names;
    std::string name;
    for (std::uint32_t i = 0; registry.EnumSubkey(parent, i, name) == EnumKeyOutcome::Found; ++i) {
        names.push_back(name);
    }
    EXPECT_NE(std::find(names.begin(), names.end(), kOutside), names.end());
    OsHandle key = kNullHandle;
    ASSERT_TRUE(registry.OpenKey(parent, kOutside, key));
    std::string value;
    EXPECT_TRUE(registry.QueryValue(key, kOutside, value));
    EXPECT_EQ(value, path);
    EXPECT_TRUE(registry.QueryValue(key, "Full", value));
    EXPECT_EQ(value, full);
    registry.CloseKey(key);
    registry.CloseKey(parent);
}

struct ValueCase {
    const char* name;
    DWORD type;
    std::string stored;
    bool readable;
    std::string expected;
};

// A value whose text runs past 255 characters is unreadable, never cut short.
TEST_F(Win32RegistryTest, ValuesAreCutAtTheirFirstNulAndLongOnesAreUnreadable) {
    const std::vector<ValueCase> cases = {
        {"Short", REG_SZ, "hello\0"s, true, "hello"},
        {"Empty", REG_SZ, "\0"s, true, ""},
        {"Exact", REG_SZ, std::string(255, 'e') + '\0', true, std::string(255, 'e')},
        {"Long", REG_SZ, std::string(300, 'a') + '\0', false, ""},
        {"InnerNul", REG_SZ, "ab\0cd\0"s, true, "ab"},
        {"Multi", REG_MULTI_SZ, "one\0two\0\0"s, true, "one"},
        {"Dword", REG_DWORD, "ABC\0"s, true, "ABC"},
        {"DwordNoNul", REG_DWORD, "WXYZ", true, "WXYZ"},
        {"Binary255", REG_BINARY, std::string(255, 'y'), true, std::string(255, 'y')},
        {"Binary256", REG_BINARY, std::string(256, 'x'), false, ""},
        {"Binary300", REG_BINARY, std::string(300, 'z'), false, ""},
    };
    for (const auto& c : cases) SetValue(c.name, c.type, c.stored);

    const OsHandle key = OpenRoot();
    for (const auto& c : cases) {
        std::string value = "unset";
        EXPECT_EQ(registry.QueryValue(key, c.name, value), c.readable) << c.name;
        EXPECT_EQ(value, c.readable ? c.expected : "unset") << c.name;
    }
    std::string value = "unset";
    EXPECT_FALSE(registry.QueryValue(key, "Absent", value));
    EXPECT_EQ(value, "unset");
    registry.CloseKey(key);
}

// ---- Spooler ----

// A local printer installed for the test, whose port is a file: a raw job
// sent to it lands in that file unchanged. Removed with its driver at the end.
class InstalledPrinter {
  public:
    // The printer's name and its port's path lie outside the code page.
    InstalledPrinter()
        : name(Unique("Hexwarden Test Printer ") + kOutside),
          driver(Unique("Hexwarden Test Driver")),
          port(PathOutsideCodePage("hw-port") + ".prn") {
        std::wstring driverName = Widen(driver), module = L"wineps.drv", data = L"generic.ppd";
        DRIVER_INFO_3W driverInfo = {};
        driverInfo.cVersion = 3;
        driverInfo.pName = driverName.data();
        driverInfo.pDriverPath = module.data();
        driverInfo.pConfigFile = module.data();
        driverInfo.pDataFile = data.data();
        if (!AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&driverInfo))) return;
        driverAdded = true;
        std::wstring printerName = Widen(name), portName = Widen(port);
        std::wstring processor = L"WinPrint", dataType = L"RAW";
        PRINTER_INFO_2W info = {};
        info.pPrinterName = printerName.data();
        info.pPortName = portName.data();
        info.pDriverName = driverName.data();
        info.pPrintProcessor = processor.data();
        info.pDatatype = dataType.data();
        printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    }
    ~InstalledPrinter() {
        if (printer != nullptr) {
            DeletePrinter(printer);
            ::ClosePrinter(printer);
        }
        if (driverAdded) DeletePrinterDriverW(nullptr, nullptr, Widen(driver).data());
        DeleteFileW(Widen(port).c_str());
    }
    InstalledPrinter(const InstalledPrinter&) = delete;
    InstalledPrinter& operator=(const InstalledPrinter&) = delete;

    bool Installed() const { return printer != nullptr; }

    // Sets the printer's attributes through its level-2 record.
    bool SetAttributes(DWORD attributes) {
        DWORD needed = 0;
        GetPrinterW(printer, 2, nullptr, 0, &needed);
        std::vector<BYTE> record(needed);
        if (!GetPrinterW(printer, 2, record.data(), needed, &needed)) return false;
        reinterpret_cast<PRINTER_INFO_2W*>(record.data())->Attributes = attributes;
        return SetPrinterW(printer, 2, record.data(), 0) != 0;
    }

    std::string name;
    std::string driver;
    std::string port;

  private:
    bool driverAdded = false;
    HANDLE printer = nullptr;
};

TEST(Win32Spooler, ListsReadsAndPrintsRawToAnInstalledPrinter) {
    InstalledPrinter installed;
    ASSERT_TRUE(installed.Installed());
    Win32Spooler spooler;

    std::vector<PrinterRecord> records = {{"stale", "", ""}};
    ASSERT_EQ(spooler.EnumLocalPrinters(records), EnumOutcome::Listed);
    const auto listed = std::find_if(records.begin(), records.end(), [&](const auto& record) {
        return record.printerName == installed.name;
    });
    ASSERT_NE(listed, records.end());
    EXPECT_EQ(listed->driverName, installed.driver);
    EXPECT_EQ(listed->portName, installed.port);

    const OsHandle printer = spooler.OpenPrinter(installed.name);
    ASSERT_NE(printer, kNullHandle);
    PrinterRecord record;
    ASSERT_TRUE(spooler.GetPrinterRecord(printer, record));
    EXPECT_EQ(record.printerName, installed.name);
    EXPECT_EQ(record.driverName, installed.driver);
    EXPECT_EQ(record.portName, installed.port);

    const std::string job = "raw\0job\x1B data"s;
    std::uint32_t written = 0;
    EXPECT_TRUE(spooler.StartRawDocument(printer, "Updater"));
    EXPECT_TRUE(spooler.StartPage(printer));
    EXPECT_TRUE(spooler.WritePrinter(printer, job.data(), 4, written));
    EXPECT_EQ(written, 4u);
    const auto rest = static_cast<std::uint32_t>(job.size() - 4);
    EXPECT_TRUE(spooler.WritePrinter(printer, job.data() + 4, rest, written));
    EXPECT_EQ(written, rest);
    EXPECT_TRUE(spooler.EndPage(printer));
    EXPECT_TRUE(spooler.EndDocument(printer));
    spooler.ClosePrinter(printer);
    EXPECT_EQ(ContentOf(installed.port), job);
}

// "Use Printer Offline" keeps jobs waiting in the queue. (Wine implements
// neither pausing a queue nor deleting a job: AbortPrinter is a stub there.)
TEST(Win32Spooler, ReadsAQueueSetToBeUsedOffline) {
    InstalledPrinter installed;
    ASSERT_TRUE(installed.Installed());
    Win32Spooler spooler;
    const OsHandle printer = spooler.OpenPrinter(installed.name);
    ASSERT_NE(printer, kNullHandle);
    QueueState state = QueueState::Error;
    ASSERT_TRUE(spooler.GetQueueState(printer, state));
    EXPECT_EQ(state, QueueState::Ready);
    ASSERT_TRUE(installed.SetAttributes(PRINTER_ATTRIBUTE_WORK_OFFLINE));
    ASSERT_TRUE(spooler.GetQueueState(printer, state));
    EXPECT_EQ(state, QueueState::Offline);
    spooler.ClosePrinter(printer);
}

TEST(Win32Spooler, UnknownPrinterDoesNotOpen) {
    Win32Spooler spooler;
    EXPECT_EQ(spooler.OpenPrinter(Unique("No Such Printer")), kNullHandle);
}

// (Wine's page calls succeed whatever the handle, so they are left out.)
TEST(Win32Spooler, CallsOnTheNullHandleFail) {
    Win32Spooler spooler;
    PrinterRecord record;
    std::uint32_t written = 99;
    EXPECT_FALSE(spooler.GetPrinterRecord(kNullHandle, record));
    EXPECT_FALSE(spooler.StartRawDocument(kNullHandle, "Updater"));
    EXPECT_FALSE(spooler.WritePrinter(kNullHandle, "data", 4, written));
    EXPECT_EQ(written, 0u);
    EXPECT_FALSE(spooler.EndDocument(kNullHandle));
    QueueState state = QueueState::Ready;
    EXPECT_FALSE(spooler.GetQueueState(kNullHandle, state));
}

// ---- Disk files ----

std::string Pattern(std::size_t n) {
    std::string bytes(n, '\0');
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>(i * 7 % 251);
    return bytes;
}

TEST(Win32DiskFile, WritesSeeksAndReadsBack) {
    TempFile file("disk.bin", "old content that is longer than nothing");
    const std::string bytes = Pattern(10000);
    {
        DiskFile out(file.path, DiskFile::Mode::CreateWrite);
        EXPECT_EQ(out.GetLength(), 0u) << "an existing file is emptied";
        out.Write(bytes.data(), 6000);
        out.Write(bytes.data() + 6000, 4000);
        EXPECT_EQ(out.GetLength(), 10000u);
        EXPECT_EQ(out.Seek(-4, File::SeekFrom::End), 9996u);
        out.Write("TAIL", 4);
        EXPECT_EQ(out.GetLength(), 10000u);
    }
    const std::string expected = bytes.substr(0, 9996) + "TAIL";
    EXPECT_EQ(ContentOf(file.path), expected);

    DiskFile in(file.path, DiskFile::Mode::Read);
    EXPECT_EQ(in.GetLength(), 10000u);
    std::string piece(1024, '\0');
    EXPECT_EQ(in.Seek(5000, File::SeekFrom::Begin), 5000u);
    EXPECT_EQ(in.Seek(-1000, File::SeekFrom::Current), 4000u);
    ASSERT_EQ(in.Read(piece.data(), 1024), 1024u);
    EXPECT_EQ(piece, expected.substr(4000, 1024));
    EXPECT_EQ(in.Seek(9990, File::SeekFrom::Begin), 9990u);
    EXPECT_EQ(in.Read(piece.data(), 1024), 10u);
    EXPECT_EQ(in.Read(piece.data(), 1024), 0u) << "at the end";
}

TEST(Win32DiskFile, FailuresNameTheFileAndTheirCause) {
    using Cause = FileException::Cause;
    TempFile busy("busy.bin", "b");
    DiskFile writer(busy.path, DiskFile::Mode::CreateWrite);
    char folder[MAX_PATH + 1] = {};
    GetTempPathA(sizeof folder, folder);

    struct Case {
        std::string path;
        DiskFile::Mode mode;
        Cause cause;
    };
    const std::vector<Case> cases = {
        {TempPath("missing.bin"), DiskFile::Mode::Read, Cause::FileNotFound},
        {TempPath("no-folder\\file.bin"), DiskFile::Mode::CreateWrite, Cause::BadPath},
        {folder, DiskFile::Mode::CreateWrite, Cause::AccessDenied},
        {busy.path, DiskFile::Mode::Read, Cause::SharingViolation},
    };
    for (const auto& c : cases) {
        try {
            DiskFile opened(c.path, c.mode);
            ADD_FAILURE() << c.path << " opened";
        } catch (const FileException& error) {
            EXPECT_EQ(error.cause(), c.cause) << c.path;
            EXPECT_EQ(error.fileName(), c.path);
        }
    }
    try {
        DiskFile missing(TempPath("missing.bin"), DiskFile::Mode::Read);
        ADD_FAILURE() << "missing file opened";
    } catch (const FileException& error) {
        EXPECT_EQ(error.ErrorMessage(), TempPath("missing.bin") + " was not found.");
    }
}

TEST(Win32DiskFile, ReadersShareButMayNotWrite) {
    TempFile file("shared.bin", "abc");
    DiskFile first(file.path, DiskFile::Mode::Read);
    DiskFile second(file.path, DiskFile::Mode::Read);
    char buffer[4] = {};
    EXPECT_EQ(second.Read(buffer, sizeof buffer), 3u);
    EXPECT_THROW(first.Write("x", 1), FileException);
    EXPECT_THROW(first.Seek(-1, File::SeekFrom::Begin), FileException);
    EXPECT_EQ(ContentOf(file.path), "abc");
}

}  // namespace
}  // namespace hw::test
