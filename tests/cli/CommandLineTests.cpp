// The command line against the simulated machine: arguments in, text and
// exit code out, as a script sees it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/TextReporter.h"
#include "console/MachineSession.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeSettingsFile.h"
#include "fakes/FakeVersionBlocks.h"
#include "fakes/FixedProgramFile.h"
#include "sim/pc/SimEnvironment.h"
#include "sim/pc/SimSystem.h"
#include "sim/pc/SimUserSettings.h"

namespace hw::cli {
namespace {

class CommandLine : public ::testing::Test {
  protected:
    struct Result {
        int code;
        std::string out;
        std::string err;
    };

    Result Run(std::vector<std::string> args, TextOutput* progress = nullptr) {
        StringOutput out, err;
        const CliServices services{
            {link, program, files, settings, versions, userSettings}, out, err, progress, "v"};
        const int code = RunCommandLine(args, services);
        return {code, out.text, err.text};
    }

    std::int32_t Y0Changed() { return env.Machine().Parameters().Y0() == 1 ? 2 : 1; }
    std::vector<std::uint8_t> MachineBlock() { return env.Machine().Parameters().Block(); }

    TestClock clock{1};
    SimEnvironment env{clock};
    SimAlerts alerts;
    LinkPlatform link = env.Link(alerts);
    test::FixedProgramFile program;
    test::FakeFileSystem files;
    test::FakeSettingsFile settings;
    test::FakeVersionBlocks versions;
    SimUserSettings userSettings;
};

TEST_F(CommandLine, BadInputIsAUsageError) {
    const std::vector<std::vector<std::string>> lines = {
        {},
        {"frobnicate"},
        {"list", "--colour"},
        {"list", "status"},
        {"backup"},
        {"backup", "-o"},
        {"restore"},
        {"report", "--json"},
        {"backup", "-o", "x.par", "--yes"},
        {"list", "--machine"},
    };
    for (const auto& line : lines) {
        const Result r = Run(line);
        EXPECT_EQ(r.code, kExitUsage) << testing::PrintToString(line);
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find('\n'), std::string::npos);
    }
}

TEST_F(CommandLine, ListJsonNamesTheMachineAndMarksIt) {
    const Result r = Run({"list", "--json"});
    ASSERT_EQ(r.code, kExitDone) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    ASSERT_EQ(json["machines"].size(), 1u);
    const auto& machine = json["machines"][0];
    EXPECT_EQ(machine["queue"], "QMV-240");
    EXPECT_EQ(machine["devicePath"], env.DevicePath());
    EXPECT_FALSE(machine["instance"].get<std::string>().empty());
    EXPECT_EQ(machine["connected"], true);
    EXPECT_EQ(machine["chosen"], true);
    EXPECT_FALSE(machine["firmware"].get<std::string>().empty());
}

// Without --machine, the machine the console chose last when it is there,
// else the first: marked in the list and acted on.
TEST_F(CommandLine, TheDefaultMachineIsTheOneTheConsoleChoseLast) {
    env.AddMachine(kSimSecondQueueName, kSimSecondPortName, SecondMachineConfig());
    struct Case {
        std::optional<std::string> remembered;
        std::string queue;
        std::string port;
    } const cases[] = {
        {std::nullopt, kSimQueueName, kSimPortName},
        {kSimSecondQueueName, kSimSecondQueueName, kSimSecondPortName},
        {"QMV-240 (Copy 2)", kSimQueueName, kSimPortName},
    };
    for (const Case& c : cases) {
        userSettings.texts.clear();
        if (c.remembered) userSettings.Write(kChosenMachineSetting, *c.remembered);
        const auto json = nlohmann::json::parse(Run({"list", "--json"}).out);
        std::string marked;
        for (const auto& machine : json["machines"]) {
            if (machine["chosen"] == true) marked += machine["queue"].get<std::string>();
        }
        EXPECT_EQ(marked, c.queue);
        ASSERT_EQ(Run({"status"}).code, kExitDone);
        EXPECT_EQ(env.Acting().name, c.queue + " on " + c.port);
    }
}

TEST_F(CommandLine, StatusJsonCarriesTheWordSensorsAndSpindle) {
    const Result r = Run({"status", "--json"});
    ASSERT_EQ(r.code, kExitDone) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_TRUE(json["status"].is_number());
    EXPECT_EQ(json["sensors"].size(), 7u);
    EXPECT_TRUE(json["sensors"]["Cover"] == "Open" || json["sensors"]["Cover"] == "Close");
    EXPECT_TRUE(json["spindle"].is_object());
}

TEST_F(CommandLine, NoMachineOrAnUnknownOneExitsThree) {
    for (const std::vector<std::string>& line :
         {std::vector<std::string>{"status", "--machine", "QMV-999"},
          std::vector<std::string>{"report"}}) {
        if (line.size() == 1) env.Unplug();
        const Result r = Run(line);
        EXPECT_EQ(r.code, kExitNoMachine) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

// A changed block goes back only with --yes; without it the run tells what
// would change and writes nothing.
TEST_F(CommandLine, BackupThenRestoreNeedsYes) {
    ASSERT_EQ(Run({"backup", "-o", "C:\\saved.par"}).code, kExitDone);
    const auto saved = MachineBlock();
    ASSERT_TRUE(env.Machine().Parameters().SetY0(Y0Changed()));
    const auto changed = MachineBlock();
    ASSERT_NE(changed, saved);

    const Result asked = Run({"restore", "C:\\saved.par"});
    EXPECT_EQ(asked.code, kExitNotConfirmed);
    EXPECT_NE(asked.out.find("bytes differ"), std::string::npos) << asked.out;
    EXPECT_EQ(MachineBlock(), changed);

    const Result done = Run({"restore", "C:\\saved.par", "--yes"});
    EXPECT_EQ(done.code, kExitDone) << done.err;
    EXPECT_EQ(MachineBlock(), saved);
}

TEST_F(CommandLine, FileProblemsExitFour) {
    files.Put("C:\\short.par", "too short");
    for (const std::vector<std::string>& line :
         {std::vector<std::string>{"restore", "C:\\missing.par", "--yes"},
          std::vector<std::string>{"restore", "C:\\short.par", "--yes"}}) {
        const Result r = Run(line);
        EXPECT_EQ(r.code, kExitFileError) << r.err;
    }
}

TEST_F(CommandLine, BundleIsSavedAsAZipArchive) {
    const Result r = Run({"bundle", "-o", "C:\\bundle.zip"});
    ASSERT_EQ(r.code, kExitDone) << r.err;
    EXPECT_EQ(files.Text("C:\\bundle.zip").value_or("").substr(0, 4), std::string("PK\x03\x04"));
}

// The report goes to standard output whole; its step is shown on a
// terminal, blanked before the end is told, and nowhere else.
TEST_F(CommandLine, ReportGoesToStdoutItsStepToATerminal) {
    StringOutput terminal;
    const Result r = Run({"report", "-o", "C:\\report.txt"}, &terminal);
    ASSERT_EQ(r.code, kExitDone) << r.err;
    EXPECT_EQ(terminal.text, "\rReading the report...\r" + std::string(21, ' ') + "\r");
    const Result plain = Run({"report"});
    EXPECT_GT(plain.out.size(), 100u);
    EXPECT_EQ(plain.out.find("Reading"), std::string::npos);
}

}  // namespace
}  // namespace hw::cli
