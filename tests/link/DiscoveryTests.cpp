#include "link/Discovery.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakePlatform.h"
#include "platform/device/System.h"
#include "sim/pc/SimText.h"

namespace hw::test {
namespace {

const std::string kGuid = "{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
const std::string kOtherGuid = "{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
const std::string kDevice = "VID_0F2A&PID_0240";

std::string Under(const std::string& root, const std::string& a, const std::string& b) {
    return root + "\\" + a + "\\" + b;
}

class DiscoveryTest : public ::testing::Test {
  protected:
    // Every registry key and printer a step opened is closed when it ends.
    void TearDown() override {
        EXPECT_EQ(registry.OpenKeys(), 0u);
        EXPECT_EQ(spooler.openPrinters, 0);
    }

    void AddPrintNode(const char* root, const std::string& hardware, const std::string& instance,
                      const std::string& description = kMachineDriver) {
        registry.Set(Under(root, hardware, instance), "DeviceDesc", description);
    }

    void AddUsbInstance(const std::string& device, const std::string& instance,
                        const std::string& parentPrefix, const std::string& symbolicName) {
        const std::string key = Under(kNtUsbRoot, device, instance);
        registry.Set(key, "ParentIdPrefix", parentPrefix);
        registry.Set(key + "\\Device Parameters", "SymbolicName", symbolicName);
    }

    void AddClassLink(const std::string& guid, const std::string& name, const std::string& link) {
        registry.Set(Under(kDeviceClassesRoot, guid, name) + "\\#", "SymbolicLink", link);
    }

    SimRegistry registry;
    SimText text;
    FakeSpooler spooler;
};

// --- Windows NT walk, step 1: the printing node -----------------------------

struct PrintNodeCase {
    const char* label;
    std::string instance;
    std::string description;
    std::string driver;
    std::string port;
    bool found;
    std::string prefix;
};

class NtPrintNodeMatch : public DiscoveryTest,
                         public ::testing::WithParamInterface<PrintNodeCase> {};

TEST_P(NtPrintNodeMatch, MatchesAndCutsPrefix) {
    const auto& c = GetParam();
    AddPrintNode(kNtPrintRoot, "Hardware", c.instance, c.description);
    std::string prefix = "untouched";
    EXPECT_EQ(nt::FindPrinterNode(registry, text, c.driver, c.port, prefix), c.found);
    EXPECT_EQ(prefix, c.found ? c.prefix : "untouched");
}

INSTANTIATE_TEST_SUITE_P(
    Discovery, NtPrintNodeMatch,
    ::testing::Values(
        PrintNodeCase{"Plain", "7&1a2b&0&USB001", kMachineDriver, kMachineDriver, "USB001", true,
                      "7&1a2b&0"},
        PrintNodeCase{"DescriptionCaseIgnored", "7&1a2b&0&USB001", "VARNEL qmv-240", kMachineDriver,
                      "USB001", true, "7&1a2b&0"},
        PrintNodeCase{"DescriptionDiffers", "7&1a2b&0&USB001", "Varnel QMV-2400", kMachineDriver,
                      "USB001", false, ""},
        // An indirect description is compared by its text after the last ";".
        PrintNodeCase{"IndirectDescription", "7&1a2b&0&USB001", "@oem12.inf,%desc%;Varnel QMV-240",
                      kMachineDriver, "USB001", true, "7&1a2b&0"},
        PrintNodeCase{"IndirectDescriptionDiffers", "7&1a2b&0&USB001",
                      "@oem12.inf,%desc%;Varnel QMV-2400", kMachineDriver, "USB001", false, ""},
        PrintNodeCase{"SemicolonWithoutAt", "7&1a2b&0&USB001", "oem12.inf;Varnel QMV-240",
                      kMachineDriver, "USB001", false, ""},
        PrintNodeCase{"PortCaseMatters", "7&1a2b&0&usb001", kMachineDriver, kMachineDriver,
                      "USB001", false, ""},
        // The port inside the name still has its length cut from the end.
        PrintNodeCase{"PortNotAtEnd", "USB001&7&1a2b&0", kMachineDriver, kMachineDriver, "USB001",
                      true, "USB001&7"},
        PrintNodeCase{"NameIsPortOnly", "USB001", kMachineDriver, kMachineDriver, "USB001", false,
                      ""},
        PrintNodeCase{"NoPrefixBeforeSeparator", "&USB001", kMachineDriver, kMachineDriver,
                      "USB001", false, ""},
        PrintNodeCase{"OneCharacterPrefix", "7&USB001", kMachineDriver, kMachineDriver, "USB001",
                      true, "7"},
        // Names are cut to the registry's limit, losing the port.
        PrintNodeCase{"OverlongName", std::string(300, 'x') + "&USB001", kMachineDriver,
                      kMachineDriver, "USB001", false, ""}),
    [](const auto& test) { return std::string(test.param.label); });

// "equals" compares characters of the ANSI code page, not bytes: in code page
// 932 full-width letters fold, and a trail byte with the value of an ASCII
// letter is part of its character and never folds on its own.
struct CodePageCase {
    const char* label;
    SimText::CodePage codePage;
    std::string description;
    std::string driver;
    bool equal;
};

class NtPrintNodeCodePage : public DiscoveryTest,
                            public ::testing::WithParamInterface<CodePageCase> {};

TEST_P(NtPrintNodeCodePage, DescriptionEqualsByCharacters) {
    const auto& c = GetParam();
    SimText codePage(c.codePage);
    AddPrintNode(kNtPrintRoot, "Hardware", "7&0&USB001", c.description);
    std::string prefix;
    EXPECT_EQ(nt::FindPrinterNode(registry, codePage, c.driver, "USB001", prefix), c.equal);
}

using CP = SimText::CodePage;
INSTANTIATE_TEST_SUITE_P(
    Discovery, NtPrintNodeCodePage,
    ::testing::Values(
        CodePageCase{"SingleByteHighBytesEqual", CP::SingleByte, "VARNEL \xC4\xE4",
                     "varnel \xC4\xE4", true},
        CodePageCase{"SingleByteHighBytesNotFolded", CP::SingleByte, "Varnel \xC4", "Varnel \xE4",
                     false},
        // 0x82 0x60 and 0x82 0x81: full-width A and a.
        CodePageCase{"FullWidthFolds", CP::Japanese932, "QMV \x82\x60", "qmv \x82\x81", true},
        CodePageCase{"FullWidthIsOneByteLetterElsewhere", CP::SingleByte, "QMV \x82\x60",
                     "qmv \x82\x81", false},
        // 0x83 0x41 and 0x83 0x61: two katakana whose trail bytes are 'A' and 'a'.
        CodePageCase{"TrailByteNotFolded", CP::Japanese932, "QMV \x83\x41", "QMV \x83\x61", false},
        CodePageCase{"SameDoubleByteText", CP::Japanese932, "Varnel \x83\x41", "VARNEL \x83\x41",
                     true},
        CodePageCase{"AsciiAfterDoubleByteFolds", CP::Japanese932, "\x95\x5Cqmv", "\x95\x5CQMV",
                     true}),
    [](const auto& test) { return std::string(test.param.label); });

TEST_F(DiscoveryTest, PrintNodeTakesFirstMatchInEnumerationOrder) {
    AddPrintNode(kNtPrintRoot, "Other", "1&aa&0&USB001", "Some Other Printer");
    AddPrintNode(kNtPrintRoot, "Other", "2&bb&0&USB002");
    AddPrintNode(kNtPrintRoot, "Machine", "3&cc&0&USB001");
    AddPrintNode(kNtPrintRoot, "Machine", "4&dd&0&USB001");
    std::string prefix;
    ASSERT_TRUE(nt::FindPrinterNode(registry, text, kMachineDriver, "USB001", prefix));
    EXPECT_EQ(prefix, "3&cc&0");
}

TEST_F(DiscoveryTest, PrintNodeWithoutDescriptionIsSkipped) {
    registry.Set(Under(kNtPrintRoot, "Machine", "1&aa&0&USB001"));
    AddPrintNode(kNtPrintRoot, "Machine", "2&bb&0&USB001");
    std::string prefix;
    ASSERT_TRUE(nt::FindPrinterNode(registry, text, kMachineDriver, "USB001", prefix));
    EXPECT_EQ(prefix, "2&bb&0");
}

// A key that enumeration returned but that cannot be opened ends the step,
// and enumeration failures do too, even though a later key would match.
struct StopCase {
    const char* label;
    std::string unopenable;
    std::string unenumerable;
};

class NtPrintNodeStops : public DiscoveryTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(NtPrintNodeStops, StepFails) {
    AddPrintNode(kNtPrintRoot, "First", "1&aa&0&USB001", "Another Driver");
    AddPrintNode(kNtPrintRoot, "Second", "2&bb&0&USB001");
    if (!GetParam().unopenable.empty()) registry.FailOpening({GetParam().unopenable});
    if (!GetParam().unenumerable.empty()) registry.FailEnumerating({GetParam().unenumerable});
    std::string prefix;
    EXPECT_FALSE(nt::FindPrinterNode(registry, text, kMachineDriver, "USB001", prefix));
}

INSTANTIATE_TEST_SUITE_P(
    Discovery, NtPrintNodeStops,
    ::testing::Values(
        StopCase{"RootUnopenable", kNtPrintRoot, ""},
        StopCase{"HardwareKeyUnopenable", std::string(kNtPrintRoot) + "\\First", ""},
        StopCase{"InstanceKeyUnopenable", Under(kNtPrintRoot, "First", "1&aa&0&USB001"), ""},
        StopCase{"RootEnumerationFails", "", kNtPrintRoot},
        StopCase{"HardwareEnumerationFails", "", std::string(kNtPrintRoot) + "\\First"}),
    [](const auto& test) { return std::string(test.param.label); });

// --- Windows NT walk, step 2: the parent USB device -------------------------

TEST_F(DiscoveryTest, UsbDeviceYieldsKeysAndGuidFromFirstBrace) {
    AddUsbInstance("ROOT_HUB20", "4&111&0", "5&999&0", "\\??\\ROOT#{aaa}");
    AddUsbInstance(kDevice, "SER1", "7&1A2B&0", "\\??\\USB#" + kDevice + "#SER1#" + kGuid);
    std::string deviceKey, instanceKey, guid;
    ASSERT_TRUE(nt::FindUsbDevice(registry, text, "7&1a2b&0", deviceKey, instanceKey, guid));
    EXPECT_EQ(deviceKey, kDevice);
    EXPECT_EQ(instanceKey, "SER1");
    EXPECT_EQ(guid, kGuid);
}

TEST_F(DiscoveryTest, UsbDeviceSkipsUnusableInstances) {
    // No "ParentIdPrefix": read as empty, which never equals a real prefix.
    registry.Set(Under(kNtUsbRoot, kDevice, "NOPARENT") + "\\Device Parameters", "SymbolicName",
                 "\\??\\USB#x#{bad}");
    // Matching prefix but no "SymbolicName", or one without a brace.
    registry.Set(Under(kNtUsbRoot, kDevice, "NONAME") + "\\Device Parameters");
    registry.Set(Under(kNtUsbRoot, kDevice, "NONAME"), "ParentIdPrefix", "7&1a2b&0");
    AddUsbInstance(kDevice, "NOBRACE", "7&1a2b&0", "\\??\\USB#no-guid-here");
    AddUsbInstance(kDevice, "SER1", "7&1a2b&0", "\\??\\USB#" + kDevice + "#SER1#" + kGuid);
    std::string deviceKey, instanceKey, guid;
    ASSERT_TRUE(nt::FindUsbDevice(registry, text, "7&1a2b&0", deviceKey, instanceKey, guid));
    EXPECT_EQ(instanceKey, "SER1");
    EXPECT_EQ(guid, kGuid);
}

TEST_F(DiscoveryTest, UsbDeviceWithoutDeviceParametersEndsSearch) {
    registry.Set(Under(kNtUsbRoot, kDevice, "SER0"), "ParentIdPrefix", "7&1a2b&0");
    AddUsbInstance(kDevice, "SER1", "7&1a2b&0", "\\??\\USB#" + kDevice + "#SER1#" + kGuid);
    std::string deviceKey, instanceKey, guid;
    EXPECT_FALSE(nt::FindUsbDevice(registry, text, "7&1a2b&0", deviceKey, instanceKey, guid));
    EXPECT_TRUE(instanceKey.empty());
}

TEST_F(DiscoveryTest, UsbDeviceStopsAtUnopenableOrUnenumerableKey) {
    AddUsbInstance("First", "SER0", "1&0&0", "\\??\\USB#{x}");
    AddUsbInstance(kDevice, "SER1", "7&1a2b&0", "\\??\\USB#" + kDevice + "#SER1#" + kGuid);
    std::string deviceKey, instanceKey, guid;
    for (const std::string& path : {std::string(kNtUsbRoot), std::string(kNtUsbRoot) + "\\First",
                                    Under(kNtUsbRoot, "First", "SER0")}) {
        SCOPED_TRACE(path);
        registry.FailOpening({path});
        EXPECT_FALSE(nt::FindUsbDevice(registry, text, "7&1a2b&0", deviceKey, instanceKey, guid));
    }
    registry.FailOpening({});
    registry.FailEnumerating({std::string(kNtUsbRoot) + "\\First"});
    EXPECT_FALSE(nt::FindUsbDevice(registry, text, "7&1a2b&0", deviceKey, instanceKey, guid));
    registry.FailEnumerating({});
    EXPECT_TRUE(nt::FindUsbDevice(registry, text, "7&1a2b&0", deviceKey, instanceKey, guid));
}

// --- Windows NT walk, step 3: the interface link ----------------------------

struct LinkCase {
    const char* label;
    std::string guidKey;
    std::string name;
    bool found;
};

class NtInterfaceLinkMatch : public DiscoveryTest,
                             public ::testing::WithParamInterface<LinkCase> {};

TEST_P(NtInterfaceLinkMatch, TakesOnlyFullMatch) {
    const auto& c = GetParam();
    AddClassLink(c.guidKey, c.name, "\\\\?\\the-link");
    std::string path = "untouched";
    EXPECT_EQ(nt::FindInterfaceLink(registry, text, kDevice, "SER1", kGuid, path), c.found);
    EXPECT_EQ(path, c.found ? "\\\\?\\the-link" : "untouched");
}

INSTANTIATE_TEST_SUITE_P(
    Discovery, NtInterfaceLinkMatch,
    ::testing::Values(
        LinkCase{"Full", kGuid, "##?#USB#" + kDevice + "#SER1#" + kGuid, true},
        LinkCase{"GuidKeyCaseIgnored", "{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}",
                 "##?#USB#" + kDevice + "#SER1#" + kGuid, true},
        LinkCase{"OtherGuidKey", kOtherGuid, "##?#USB#" + kDevice + "#SER1#" + kGuid, false},
        LinkCase{"InstanceNotFramedByHashes", kGuid, "##?#USB#" + kDevice + "#SER1X#" + kGuid,
                 false},
        LinkCase{"InstanceMissing", kGuid, "##?#USB#" + kDevice + "#" + kGuid, false},
        LinkCase{"DeviceCaseMatters", kGuid, "##?#USB#vid_0f2a&pid_0240#SER1#" + kGuid, false},
        LinkCase{"GuidInNameCaseMatters", kGuid,
                 "##?#USB#" + kDevice + "#SER1#{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}", false}),
    [](const auto& test) { return std::string(test.param.label); });

TEST_F(DiscoveryTest, InterfaceLinkSkipsNearMissesAndUnreadableLinks) {
    const std::string full = "##?#USB#" + kDevice + "#SER1#" + kGuid;
    AddClassLink(kOtherGuid, full, "wrong class");
    AddClassLink(kGuid, "##?#USB#" + kDevice + "#SER10#" + kGuid, "wrong instance");
    registry.Set(Under(kDeviceClassesRoot, kGuid, full + "&0") + "\\#");  // no SymbolicLink
    AddClassLink(kGuid, full, "\\\\?\\right");
    std::string path;
    ASSERT_TRUE(nt::FindInterfaceLink(registry, text, kDevice, "SER1", kGuid, path));
    EXPECT_EQ(path, "\\\\?\\right");
}

TEST_F(DiscoveryTest, InterfaceLinkWithoutHashSubkeyEndsSearch) {
    const std::string full = "##?#USB#" + kDevice + "#SER1#" + kGuid;
    registry.Set(Under(kDeviceClassesRoot, kGuid, full + "&0"));
    AddClassLink(kGuid, full, "\\\\?\\right");
    std::string path;
    EXPECT_FALSE(nt::FindInterfaceLink(registry, text, kDevice, "SER1", kGuid, path));
    registry.FailOpening({Under(kDeviceClassesRoot, kGuid, full + "&0")});
    EXPECT_FALSE(nt::FindInterfaceLink(registry, text, kDevice, "SER1", kGuid, path));
    EXPECT_TRUE(path.empty());
}

// A link too long for the registry buffer would open a device path cut short:
// it is unreadable, and the walk moves on to the next interface key.
TEST_F(DiscoveryTest, OverlongLinkIsPassedOver) {
    const std::string name = "##?#USB#" + kDevice + "#SER1#" + kGuid;
    AddClassLink(kGuid, name, "\\\\?\\" + std::string(kRegistryTextMax, 'L'));
    AddClassLink(kGuid, name + "&1", "\\\\?\\right");
    std::string path;
    ASSERT_TRUE(nt::FindInterfaceLink(registry, text, kDevice, "SER1", kGuid, path));
    EXPECT_EQ(path, "\\\\?\\right");
}

// --- Windows 95/98/Me walk --------------------------------------------------

struct LegacyNodeCase {
    const char* label;
    std::string instance;
    std::string vidPid;
    std::string rest;
};

class LegacyPrintNodeSplit : public DiscoveryTest,
                             public ::testing::WithParamInterface<LegacyNodeCase> {};

TEST_P(LegacyPrintNodeSplit, SplitsAtVid) {
    const auto& c = GetParam();
    AddPrintNode(kLegacyPrintRoot, "Hardware", c.instance);
    std::string vidPid, rest;
    ASSERT_TRUE(legacy::FindPrinterNode(registry, text, kMachineDriver, "LPT1", vidPid, rest));
    EXPECT_EQ(vidPid, c.vidPid);
    EXPECT_EQ(rest, c.rest);
}

INSTANTIATE_TEST_SUITE_P(
    Discovery, LegacyPrintNodeSplit,
    ::testing::Values(
        LegacyNodeCase{"AtStart", "VID_0F2A&PID_0240&SN42&LPT1", "VID_0F2A&PID_0240", "SN42&LPT1"},
        LegacyNodeCase{"InMiddle", "USBVID_0F2A&PID_0240&SN42LPT1", "VID_0F2A&PID_0240",
                       "SN42LPT1"},
        LegacyNodeCase{"NoVidReadsFromStart", "ABCDEFGHIJKLMNOPQRSTLPT1", "ABCDEFGHIJKLMNOPQ",
                       "STLPT1"},
        LegacyNodeCase{"ShortAfterVid", "LPT1VID_1", "VID_1", ""},
        LegacyNodeCase{"NothingAfterSeparator", "LPT1VID_0F2A&PID_0240&", "VID_0F2A&PID_0240", ""}),
    [](const auto& test) { return std::string(test.param.label); });

struct SymbolicNameCase {
    const char* label;
    std::string symbolicName;
    bool found;
    std::string classPart;
    std::string guidPart;
};

class LegacyUsbDeviceSplit : public DiscoveryTest,
                             public ::testing::WithParamInterface<SymbolicNameCase> {};

TEST_P(LegacyUsbDeviceSplit, SplitsSymbolicName) {
    const auto& c = GetParam();
    registry.Set(Under(kLegacyUsbRoot, kDevice, "SN42"), "SymbolicName", c.symbolicName);
    std::string classPart = "untouched", guidPart;
    EXPECT_EQ(legacy::FindUsbDevice(registry, text, kDevice, "SN42", classPart, guidPart), c.found);
    EXPECT_EQ(classPart, c.found ? c.classPart : "untouched");
    if (c.found) {
        EXPECT_EQ(guidPart, c.guidPart);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Discovery, LegacyUsbDeviceSplit,
    ::testing::Values(SymbolicNameCase{"Plain", "\\DosDevices\\USBPRN0#" + kGuid, true, "USBPRN0",
                                       kGuid},
                      SymbolicNameCase{"PrefixSkippedByLength", "XXXXXXXXXXXXUSBPRN0#" + kGuid,
                                       true, "USBPRN0", kGuid},
                      SymbolicNameCase{"NoHash", "\\DosDevices\\USBPRN0", false, "", ""},
                      SymbolicNameCase{"HashInsidePrefix", "\\Dos#Devices\\USBPRN0", false, "", ""},
                      SymbolicNameCase{"EmptyClassPart", "\\DosDevices\\#" + kGuid, false, "", ""},
                      SymbolicNameCase{"EmptyGuidPart", "\\DosDevices\\USBPRN0#", false, "", ""},
                      SymbolicNameCase{"ShortValue", "#", false, "", ""}),
    [](const auto& test) { return std::string(test.param.label); });

TEST_F(DiscoveryTest, LegacyUsbDeviceSearchesOnlyEqualKeys) {
    const std::string otherDevice = std::string(kLegacyUsbRoot) + "\\VID_0000&PID_0000";
    registry.Set(otherDevice + "\\SN42", "SymbolicName", "\\DosDevices\\WRONG0#" + kGuid);
    registry.Set(Under(kLegacyUsbRoot, kDevice, "SN4"), "SymbolicName",
                 "\\DosDevices\\WRONG1#" + kGuid);
    registry.Set(Under(kLegacyUsbRoot, kDevice, "sn42"), "SymbolicName",
                 "\\DosDevices\\USBPRN0#" + kGuid);
    std::string classPart, guidPart;
    ASSERT_TRUE(
        legacy::FindUsbDevice(registry, text, "vid_0f2a&PID_0240", "SN42", classPart, guidPart));
    EXPECT_EQ(classPart, "USBPRN0");

    // Keys whose names do not equal the ones sought are never opened.
    registry.FailOpening({otherDevice, Under(kLegacyUsbRoot, kDevice, "SN4")});
    EXPECT_TRUE(legacy::FindUsbDevice(registry, text, kDevice, "SN42", classPart, guidPart));
    registry.FailOpening({Under(kLegacyUsbRoot, kDevice, "sn42")});
    EXPECT_FALSE(legacy::FindUsbDevice(registry, text, kDevice, "SN42", classPart, guidPart));
}

TEST_F(DiscoveryTest, LegacyInterfaceLinkNeedsClassAndGuid) {
    AddClassLink(kGuid, "USBPRN1#" + kGuid, "wrong class");
    AddClassLink(kGuid, "USBPRN0#{other}", "wrong guid");
    AddClassLink(kGuid, "##.#USBPRN0#" + kGuid, "\\\\.\\USBPRN0");
    std::string path;
    ASSERT_TRUE(legacy::FindInterfaceLink(registry, text, "USBPRN0", kGuid, path));
    EXPECT_EQ(path, "\\\\.\\USBPRN0");
    EXPECT_FALSE(legacy::FindInterfaceLink(registry, text, "USBPRN9", kGuid, path));
}

// --- Printer record and whole resolution ------------------------------------

class DiscoveryResolveTest : public DiscoveryTest {
  protected:
    // A printer whose layout both walks resolve, to different paths.
    void InstallBothLayouts() {
        spooler.printers.push_back({"Engraver", "USB001", kMachineDriver});
        AddPrintNode(kNtPrintRoot, "VarnelQMV-240", "7&1a2b&0&USB001");
        AddUsbInstance(kDevice, "SER1", "7&1a2b&0", "\\??\\USB#" + kDevice + "#SER1#" + kGuid);
        AddClassLink(kGuid, "##?#USB#" + kDevice + "#SER1#" + kGuid, "nt-path");
        AddPrintNode(kLegacyPrintRoot, "VarnelQMV-240", kDevice + "&SN42&USB001");
        registry.Set(Under(kLegacyUsbRoot, kDevice, "SN42&USB001"), "SymbolicName",
                     "\\DosDevices\\USBPRN0#" + kGuid);
        AddClassLink(kGuid, "USBPRN0#" + kGuid, "legacy-path");
    }
};

TEST_F(DiscoveryResolveTest, DriverAndPortComeFromPrinterRecord) {
    spooler.printers.push_back({"Engraver", "USB003", "Some Driver"});
    std::string driver, port;
    ASSERT_TRUE(GetPrinterDriverAndPort(spooler, "Engraver", driver, port));
    EXPECT_EQ(driver, "Some Driver");
    EXPECT_EQ(port, "USB003");

    spooler.unreadable = {"Engraver"};
    driver.clear();
    EXPECT_FALSE(GetPrinterDriverAndPort(spooler, "Engraver", driver, port));
    EXPECT_TRUE(driver.empty());
    EXPECT_FALSE(GetPrinterDriverAndPort(spooler, "Missing", driver, port));
}

TEST_F(DiscoveryResolveTest, PlatformIdSelectsWalk) {
    InstallBothLayouts();
    const std::vector<std::pair<std::uint32_t, std::string>> cases = {
        {kPlatformWin32Windows, "legacy-path"},
        {kPlatformWin32Nt, "nt-path"},
        {0, "nt-path"},
        {3, "nt-path"}};
    for (const auto& [id, expected] : cases) {
        SCOPED_TRACE(id);
        std::string path;
        ASSERT_TRUE(ResolveDevicePath(spooler, registry, text, "Engraver", id, path));
        EXPECT_EQ(path, expected);
    }
}

TEST_F(DiscoveryResolveTest, FailsWhenAnyStepFails) {
    InstallBothLayouts();
    const std::vector<std::string> breaks = {
        Under(kNtPrintRoot, "VarnelQMV-240", "7&1a2b&0&USB001"),
        Under(kNtUsbRoot, kDevice, "SER1") + "\\Device Parameters",
        Under(kDeviceClassesRoot, kGuid, "##?#USB#" + kDevice + "#SER1#" + kGuid) + "\\#"};
    for (const auto& broken : breaks) {
        SCOPED_TRACE(broken);
        registry.FailOpening({broken});
        std::string path;
        EXPECT_FALSE(
            ResolveDevicePath(spooler, registry, text, "Engraver", kPlatformWin32Nt, path));
        EXPECT_TRUE(path.empty());
    }
    registry.FailOpening({});
    spooler.unopenable = {"Engraver"};
    std::string path;
    EXPECT_FALSE(ResolveDevicePath(spooler, registry, text, "Engraver", kPlatformWin32Nt, path));
}

TEST_F(DiscoveryResolveTest, EachInstalledMachineResolvesToItsOwnDevice) {
    FakePlatform fake;
    const std::string first = fake.InstallMachine("Engraver A", "USB001", "SER1");
    const std::string second = fake.InstallMachine("Engraver B", "USB002", "SER2");
    std::string path;
    ASSERT_TRUE(ResolveDevicePath(fake.spooler, fake.registry, fake.text, "Engraver B", 2, path));
    EXPECT_EQ(path, second);
    ASSERT_TRUE(ResolveDevicePath(fake.spooler, fake.registry, fake.text, "Engraver A", 2, path));
    EXPECT_EQ(path, first);
    EXPECT_FALSE(ResolveDevicePath(fake.spooler, fake.registry, fake.text, "Engraver A", 1, path));
    EXPECT_EQ(fake.registry.OpenKeys(), 0u);
    EXPECT_EQ(fake.spooler.openPrinters, 0);
}

}  // namespace
}  // namespace hw::test
