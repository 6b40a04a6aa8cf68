// The spindle readout and the rotary axis backlash check against a scripted
// machine: the measurement's result and table, the runs it refuses, and the
// console's dialog, labels and Details around it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "commands/MachineLink.h"
#include "console/ScriptedConsole.h"
#include "console/backlash/BacklashDialog.h"
#include "console/backlash/BacklashPlotDialog.h"
#include "console/backlash/BacklashRun.h"
#include "console/checks/SpindleReadout.h"
#include "console/windows/ReportDialog.h"
#include "fakes/TestLink.h"

namespace hw {
namespace {

using test::Bytes;

// Commands as the scripted machine keys them: extended ones above 0x100.
constexpr int kStatus = 1;
constexpr int kVersion = 2;
constexpr int kPosition = 3;
constexpr int kOrigin = 8;
constexpr int kStop = 9;
constexpr int kSensors = 17;
constexpr int kDial = 18;
constexpr int kMeterRead = 50;
constexpr int kMove = 64;
constexpr int kMeterSelect = 103;
constexpr int kPanelOperation = 0x100 + 50;
constexpr int kAnalog = 0x100 + 51;

// A refusal: any status but 0 and the command's own number (still pending).
const Bytes kRefusal = {0xFE};

Bytes Words(std::vector<std::uint16_t> words, bool extended) {
    Bytes reply(extended ? 4 : 2, 0);
    reply[1] = static_cast<std::uint8_t>(words.size());
    for (std::uint16_t w : words) {
        reply.push_back(static_cast<std::uint8_t>(w));
        reply.push_back(static_cast<std::uint8_t>(w >> 8));
    }
    return reply;
}

Bytes Dwords(const std::int32_t* values, int n) {
    Bytes reply{0, static_cast<std::uint8_t>(n), 0, 0};
    for (int i = 0; i < n; ++i) {
        for (int b = 0; b < 4; ++b)
            reply.push_back(static_cast<std::uint8_t>(values[i] >> (8 * b)));
    }
    return reply;
}

std::int32_t Le32(const Bytes& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int b = 3; b >= 0; --b) v = (v << 8) | bytes[at + static_cast<std::size_t>(b)];
    return static_cast<std::int32_t>(v);
}

using Fault = std::function<std::optional<Bytes>(int command, int nth)>;
constexpr int kAny = -1;

// Replaces the reply to the nth request of a command (kAny: to each).
Fault On(int command, int nth, Bytes reply) {
    return [=](int c, int n) -> std::optional<Bytes> {
        if (c != command || (nth != kAny && n != nth)) return std::nullopt;
        return reply;
    };
}

// A machine with the encoder set on its rotary axis. Each measurement comes
// back as the difference of two dial readings, in the order the script
// lists them (plus, then minus, for each step); a fault replaces the reply
// to the nth request of a command.
struct ScriptedRotary {
    std::uint16_t status = kStatusReadyAtOrigin;
    std::map<int, std::int32_t> measurements;  // by index 2 × step (+1 for minus)
    Fault fault;

    std::map<int, int> seen;
    std::vector<std::array<std::int32_t, 4>> moves;
    std::vector<int> panelOperations;
    std::int32_t position[4] = {1200, 3400, -500, 0};
    std::int32_t dial = 7;
    int dialReads = 0;

    Bytes Answer(std::uint8_t trigger, const Bytes& request) {
        const int command = trigger == 0x38 ? 0x100 + request[2] : trigger;
        const int nth = seen[command]++;
        if (fault) {
            if (auto reply = fault(command, nth)) return *reply;
        }
        switch (command) {
            case kStatus:
                return Words({status}, false);
            case kVersion: {
                // The panel with the rotary axis dial enables the backlash group.
                const char version[] = "QMV-240 V1.52 PNL-J";
                Bytes reply{0, sizeof version};
                reply.insert(reply.end(), version, version + sizeof version);
                return reply;
            }
            case kPosition:
                return Dwords(position, 4);
            case kMove:
                for (int i = 0; i < 4; ++i)
                    position[i] = Le32(request, 4 + 4 * static_cast<std::size_t>(i));
                moves.push_back({position[0], position[1], position[2], position[3]});
                return {0};
            case kDial:
                // The second reading of a measurement carries its count.
                if (dialReads++ % 2 == 1) dial += measurements[dialReads / 2 - 1];
                return Dwords(&dial, 1);
            case kPanelOperation:
                panelOperations.push_back(request[3]);
                return {0};
            case kAnalog:
                return Words({0, 0, 0, 0, 0x8000 | 512, 0, 0, 0}, true);
            case kMeterRead: {
                const float amperes = 1.36f;
                std::int32_t bits = 0;
                std::memcpy(&bits, &amperes, sizeof bits);
                return Dwords(&bits, 1);
            }
            default:
                return {0};
        }
    }
};

// --- The measurement alone ------------------------------------------------------

class BacklashWorker : public test::ConnectedLinkTest<MachineLink> {
  protected:
    BacklashResult Measure() {
        fake.device.answer = [this](std::uint8_t t, const Bytes& r) {
            return machine.Answer(t, r);
        };
        BacklashRun run(link, fake.system);
        run.workerRunning = true;
        RunBacklashWorker(run);
        EXPECT_FALSE(run.workerRunning);
        return run.result;
    }

    ScriptedRotary machine;
};

TEST_F(BacklashWorker, LargestMagnitudeAndTable) {
    struct Case {
        const char* name;
        std::map<int, std::int32_t> measurements;
        double angle;
        double backlash;
    };
    const Case cases[] = {
        {"all zero", {}, 0.0, 0.0},
        {"negative largest", {{1, 2}, {7, -3}, {8, 2}}, 27.0, -0.054},
        {"tie keeps the earlier", {{4, 4}, {21, -4}}, 18.0, 0.072},
        {"plus before minus", {{10, 2}, {11, -2}}, 45.0, 0.036},
        {"later and larger", {{2, 3}, {46, 5}, {79, -4}}, 207.0, 0.09},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        machine = {};
        machine.measurements = c.measurements;
        const BacklashResult result = Measure();
        ASSERT_TRUE(result.valid);
        EXPECT_DOUBLE_EQ(result.angle, c.angle);
        EXPECT_DOUBLE_EQ(result.backlash, c.backlash);
        ASSERT_EQ(result.filled, kBacklashSteps);
        for (int i = 0; i < kBacklashSteps; ++i) {
            const auto& row = result.rows[static_cast<std::size_t>(i)];
            EXPECT_DOUBLE_EQ(row.angle, 9.0 * i);
            EXPECT_DOUBLE_EQ(row.plusBacklash, machine.measurements[2 * i] * 0.018);
            EXPECT_DOUBLE_EQ(row.minusBacklash, machine.measurements[2 * i + 1] * 0.018);
        }
    }
    // Z up first, then X and Y to the parking place; three moves per
    // measurement with the 5 degree overshoot; a full turn at the end.
    ASSERT_EQ(machine.moves.size(), 2u + 40u * 2u * 3u + 1u);
    EXPECT_EQ(machine.moves[0], (std::array<std::int32_t, 4>{1200, 3400, 0, 0}));
    EXPECT_EQ(machine.moves[1], (std::array<std::int32_t, 4>{0, 23000, 0, 0}));
    EXPECT_EQ(machine.moves[3 + 3 * 7], (std::array<std::int32_t, 4>{0, 23000, 0, 27000 - 5000}));
    EXPECT_EQ(machine.moves.back(), (std::array<std::int32_t, 4>{0, 23000, 0, 360000}));
    EXPECT_EQ(machine.panelOperations, std::vector<int>{0});
}

TEST_F(BacklashWorker, FailuresEndTheRunInvalid) {
    // Not at the origin: the origin run's polls answer with these words.
    auto origin = [](std::vector<std::uint16_t> words) -> Fault {
        return [=](int c, int n) -> std::optional<Bytes> {
            if (c != kStatus || n >= static_cast<int>(words.size())) return std::nullopt;
            return Words({words[static_cast<std::size_t>(n)]}, false);
        };
    };
    struct Case {
        const char* name;
        Fault fault;
        bool valid;
        int originRuns;
    };
    const Case cases[] = {
        {"status unreadable at the start", On(kStatus, 0, kRefusal), false, 0},
        {"origin reached", origin({0, 0x4000, 0x4000, 1}), true, 1},
        {"origin reached failed", origin({0, 0x4000, 0x2001}), false, 1},
        {"error state on the way", origin({0, 0x0003}), false, 1},
        {"no answer on the way", origin({0, 0xFFFF}), false, 1},
        {"position short", On(kPosition, 0, {0, 3, 0, 0, 1, 0, 0, 0}), false, 0},
        {"move refused", On(kMove, 5, kRefusal), false, 0},
        {"motion ends failed", On(kStatus, 6, Words({0x2001}, false)), false, 0},
        {"error state in a wait", On(kStatus, 20, Words({0x0003}, false)), false, 0},
        {"dial unreadable", On(kDial, 9, kRefusal), false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        machine = {};
        machine.fault = c.fault;
        EXPECT_EQ(Measure().valid, c.valid);
        EXPECT_EQ(machine.seen[kOrigin], c.originRuns);
    }
}

// A Cancel that comes as a move ends (here with the status poll that ends
// the third) starts no fourth move.
TEST_F(BacklashWorker, CancelSeenBetweenMovesStartsNoOther) {
    BacklashRun run(link, fake.system);
    machine.fault = [&](int command, int) -> std::optional<Bytes> {
        if (command == kStatus && machine.moves.size() == 3) run.cancelRequested = true;
        return std::nullopt;
    };
    fake.device.answer = [this](std::uint8_t t, const Bytes& r) { return machine.Answer(t, r); };
    run.workerRunning = true;
    RunBacklashWorker(run);
    EXPECT_FALSE(run.result.valid);
    EXPECT_EQ(machine.moves.size(), 3u);
}

// --- The console around it -------------------------------------------------------

TEST(SpindleReadout, WorkedTemperatures) {
    const std::pair<std::uint16_t, const char*> cases[] = {
        {0, "142C\n287F"},  {512, "71C\n159F"},         {1024, "0C\n32F"},
        {1030, "-1C\n31F"}, {0x8000 | 1024, "0C\n32F"},
    };
    for (const auto& [raw, text] : cases) EXPECT_EQ(SpindleTemperatureText(raw), text) << raw;
}

class BacklashConsole : public test::ScriptedConsole {
  protected:
    void SetUp() override {
        ScriptedConsole::SetUp();
        fake.device.answer = [this](std::uint8_t t, const Bytes& r) {
            return machine.Answer(t, r);
        };
    }

    // Clicks Check and answers its question Yes; the dialog's handler acts inside.
    void CheckAnsweringYes(ConsoleDialog& console) {
        windows.QueueBoxAnswer(ui::kIdYes);
        ASSERT_TRUE(windows.Click(console.window(), console_id::kBacklashCheck));
    }

    ScriptedRotary machine;
};

TEST_F(BacklashConsole, ReadShowsWhatCameBack) {
    const std::tuple<int, std::string, std::string> cases[] = {
        {0, "71C\n159F", "1.4A"},
        {kAnalog, "", "1.4A"},
        {kMeterRead, "71C\n159F", ""},
        {kMeterSelect, "--C --F", "--A"},  // neither label changes
    };
    for (const auto& [refused, temperature, current] : cases) {
        SCOPED_TRACE(refused);
        machine = {};
        machine.fault = On(refused, kAny, kRefusal);
        Run([&](ConsoleDialog& console) {
            ASSERT_TRUE(windows.Click(console.window(), console_id::kReadSpindle));
            EXPECT_EQ(console.ItemText(console_id::kSpindleTemperature), temperature);
            EXPECT_EQ(console.ItemText(console_id::kSpindleCurrent), current);
        });
    }
}

TEST_F(BacklashConsole, CompletedRunShowsLabelsAndDetails) {
    windows.RunThreadsInline(true);
    machine.measurements = {{7, -3}};
    std::vector<std::string> shown;  // status and button at the first tick
    bool sensorsPolled = true;
    windows.OnModal(backlash_id::kDialog, [&](ui::Dialog& dialog) {
        // A second on the clock and the messages served: the dialog's timer
        // is due, and so would be the console's sensor timer were it running.
        fake.system.now += 1000;
        windows.messages.PumpMessages(dialog.window());
        sensorsPolled = machine.seen.contains(kSensors);
        shown = {dialog.ItemText(backlash_id::kStatus), dialog.ItemText(backlash_id::kCancel),
                 std::to_string(windows.Item(dialog.window(), backlash_id::kBar).pos)};
        windows.PressEnter(dialog.window());
        ASSERT_TRUE(windows.IsUp(dialog.window()));
        ASSERT_TRUE(windows.Click(dialog.window(), backlash_id::kCancel));
    });
    std::string details;
    std::optional<BacklashPlotLayout> plot;
    windows.OnModal(plot_id::kDialog, [&](ui::Dialog& dialog) {
        plot = static_cast<BacklashPlotDialog&>(dialog).CurrentLayout();
    });
    windows.OnModal(report_id::kDialog, [&](ui::Dialog& dialog) {
        details = dialog.Title() + "\n" + dialog.ItemText(report_id::kText);
        ASSERT_TRUE(windows.Click(dialog.window(), report_id::kExtra));
        windows.QueueFileAnswer("C:\\table.CSV");
        ASSERT_TRUE(windows.Click(dialog.window(), report_id::kSave));
    });
    Run([&](ConsoleDialog& console) {
        windows.QueueBoxAnswer(ui::kIdNo);
        ASSERT_TRUE(windows.Click(console.window(), console_id::kBacklashCheck));
        EXPECT_TRUE(SentRequests().empty());
        CheckAnsweringYes(console);
        ASSERT_EQ(windows.Boxes().size(), 2u);
        EXPECT_EQ(windows.Boxes()[1].text,
                  "Have you mounted the encoder set and restarted QMV-240?");
        EXPECT_EQ(windows.Boxes()[1].style, ui::kMbYesNo | ui::kMbDefButton2);
        EXPECT_EQ(shown, (std::vector<std::string>{"Completed", "OK", "40"}));
        EXPECT_FALSE(sensorsPolled);
        EXPECT_EQ(console.ItemText(console_id::kBacklashAngle), "Angle=27.0deg");
        EXPECT_EQ(console.ItemText(console_id::kBacklashValue), "Backlash=-0.054deg");
        // Off for the measurement, off again at its end, on when the dialog closes.
        EXPECT_EQ(machine.panelOperations, (std::vector<int>{0, 0, 1}));
        EXPECT_GT(console.SensorTimerId(), 0);
        ASSERT_TRUE(windows.Click(console.window(), console_id::kBacklashDetails));
    });
    EXPECT_EQ(
        details.rfind("Backlash\nAngle[deg] : Backlash[deg]\r\n0.0 : 0.000  0.000\r\n9.0 ", 0), 0u);
    EXPECT_NE(details.find("\r\n27.0 : 0.000  -0.054\r\n"), std::string::npos);
    EXPECT_EQ(details.size(), details.rfind("351.0 : 0.000  0.000\r\n") + 22);
    EXPECT_EQ(std::count(details.begin(), details.end(), '\n'), 42);
    // The picture marks the measurement the labels show: minus at 27 degrees.
    ASSERT_TRUE(plot && plot->minus.size() == 40);
    EXPECT_EQ(plot->mark, plot->minus[3]);
    // A name ending in .csv gets the table as comma-separated values.
    const std::string csv = files.Text("C:\\table.CSV").value_or("");
    EXPECT_EQ(csv.rfind("angle_deg,plus_deg,minus_deg\r\n", 0), 0u);
    EXPECT_NE(csv.find("\r\n27.000,0.000,-0.054\r\n"), std::string::npos);
}

// A run cancelled while the machine stays busy: the worker waits without a
// time limit, the console's sensor ticks use the link beside it, and an
// earlier result is forgotten.
TEST_F(BacklashConsole, ConcurrentCancelWhileBusy) {
    windows.RunThreadsInline(true);
    windows.OnModal(backlash_id::kDialog, [&](ui::Dialog& dialog) {
        windows.FireTimer(dialog.window(), kBacklashTimerEvent);
        windows.Click(dialog.window(), backlash_id::kCancel);
    });
    std::atomic<int> busyPolls{0};
    Run([&](ConsoleDialog& console) {
        CheckAnsweringYes(console);
        ASSERT_NE(console.ItemText(console_id::kBacklashAngle), "Angle=--deg");

        windows.RunThreadsInline(false);
        machine.fault = [&](int command, int) -> std::optional<Bytes> {
            if (command != kStatus || machine.moves.empty()) return std::nullopt;
            ++busyPolls;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            return Words({kStatusReadyAtOrigin | kStatusBusy}, false);
        };
        std::string status;
        windows.OnModal(backlash_id::kDialog, [&](ui::Dialog& dialog) {
            while (busyPolls < 50) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            windows.FireTimer(dialog.window(), kBacklashTimerEvent);
            status = dialog.ItemText(backlash_id::kStatus);
            windows.Click(dialog.window(), backlash_id::kCancel);
        });
        CheckAnsweringYes(console);
        EXPECT_EQ(status, "Checking...");
        EXPECT_EQ(console.ItemText(console_id::kBacklashAngle), "Angle=--deg");
        EXPECT_EQ(console.ItemText(console_id::kBacklashValue), "Backlash=--deg");
        // The bundle still carries the completed run's table.
        windows.QueueFileAnswer("C:\\bundle.zip");
        console.Send({ui::kWmSysCommand, console_id::kBundleCommand, 0});
        EXPECT_NE(files.Text("C:\\bundle.zip").value_or("").find("backlash.csv"),
                  std::string::npos);
        for (int i = 0; i < 20; ++i) windows.FireTimer(console.window(), kSensorTimerEvent);
        windows.ClearBoxes();
        ASSERT_TRUE(windows.Click(console.window(), console_id::kBacklashDetails));
        ASSERT_EQ(windows.Boxes().size(), 1u);
        EXPECT_EQ(windows.Boxes()[0].text, "Please check the backlash first.");
        EXPECT_EQ(windows.Boxes()[0].style, ui::kMbOk);
    });
    EXPECT_GE(machine.seen[kStop], 1);
}

// The tick shows the step the worker measures, and the bar the steps done:
// held busy on the first move of step 3, the dialog reads "step 3 of 40".
TEST_F(BacklashConsole, ConcurrentTickShowsTheStepUnderWay) {
    constexpr std::int32_t kStep3 = 2 * 9000;
    std::atomic<bool> held{false};
    machine.fault = [&](int command, int) -> std::optional<Bytes> {
        if (command != kStatus || machine.moves.empty() || machine.moves.back()[3] != kStep3)
            return std::nullopt;
        held = true;
        return Words({kStatusReadyAtOrigin | kStatusBusy}, false);
    };
    std::string status;
    int bar = -1;
    windows.OnModal(backlash_id::kDialog, [&](ui::Dialog& dialog) {
        while (!held) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        windows.FireTimer(dialog.window(), kBacklashTimerEvent);
        status = dialog.ItemText(backlash_id::kStatus);
        bar = windows.Item(dialog.window(), backlash_id::kBar).pos;
        windows.Click(dialog.window(), backlash_id::kCancel);
    });
    Run([&](ConsoleDialog& console) { CheckAnsweringYes(console); });
    EXPECT_EQ(status, "Checking... step 3 of 40");
    EXPECT_EQ(bar, 2);
}

// Cancel while the worker is inside a command that ends only once the
// window has been served: the dialog waits for the worker with its messages
// served and the console disabled, and gives the panel back only after the
// worker's last command.
TEST_F(BacklashConsole, ConcurrentCancelWaitsForTheWorkerServingTheWindow) {
    std::atomic<int> busyPolls{0};
    std::atomic<bool> served{false};
    bool consoleDisabled = false;
    machine.fault = [&](int command, int) -> std::optional<Bytes> {
        if (command == kStatus && !machine.moves.empty()) {
            ++busyPolls;
            return Words({kStatusReadyAtOrigin | kStatusBusy}, false);
        }
        if (command != kStop) return std::nullopt;
        // Ends once the window was served, or after 5 s, which fails the test.
        for (int i = 0; i < 5000 && !served; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return std::nullopt;
    };
    Run([&](ConsoleDialog& console) {
        windows.OnPump([&] {
            consoleDisabled = !console.IsWindowEnabled();
            served = true;
        });
        windows.OnModal(backlash_id::kDialog, [&](ui::Dialog& dialog) {
            while (busyPolls == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            windows.Click(dialog.window(), backlash_id::kCancel);
        });
        CheckAnsweringYes(console);
        EXPECT_TRUE(served);
        EXPECT_TRUE(consoleDisabled);
        EXPECT_EQ(machine.seen[kStop], 1);
        EXPECT_EQ(machine.panelOperations, (std::vector<int>{0, 1}));
        EXPECT_EQ(console.ItemText(console_id::kBacklashAngle), "Angle=--deg");
    });
}

}  // namespace
}  // namespace hw
