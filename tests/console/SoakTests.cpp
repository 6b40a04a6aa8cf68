// An afternoon at the bench: one console on the simulated machine runs a long
// seeded series of procedures, each under a fault armed at a random moment.
// After each the fault goes away, and the console must be as a technician
// expects to find it: enabled, no procedure window left, polling with one
// timer, and able to complete a simple procedure again. A procedure under a
// fault that fired never ends in "Completed".
//
// HW_SOAK_SEED repeats a series; HW_SOAK_RUNS makes it longer.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "SimulatedConsoleParts.h"
#include "console/ConsoleDialog.h"
#include "console/ConsoleIds.h"
#include "console/windows/ProgressDialog.h"

namespace hw {
namespace {

constexpr const char* kBlockA = "C:\\Soak\\a.par";
constexpr const char* kBlockB = "C:\\Soak\\b.par";
constexpr const char* kJobFile = "C:\\Soak\\job.txt";
constexpr int kDefaultRuns = 1000;

std::uint64_t EnvNumber(const char* name, std::uint64_t fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 10) : fallback;
}

// The machine's device as the console reaches it, counting the calls that
// failed: a cable pulled after a procedure's last exchange is a fault the
// procedure never met.
class CountingDeviceFiles final : public DeviceFiles {
  public:
    explicit CountingDeviceFiles(DeviceFiles& inner) : inner(inner) {}

    OsHandle Open(const std::string& path, std::uint32_t flags) override {
        const OsHandle handle = inner.Open(path, flags);
        Count(handle != kInvalidHandle);
        return handle;
    }
    bool Close(OsHandle handle) override { return inner.Close(handle); }
    bool Read(OsHandle handle, void* buffer, std::uint32_t n, std::uint32_t& done) override {
        return Count(inner.Read(handle, buffer, n, done));
    }
    bool Write(OsHandle handle, const void* buffer, std::uint32_t n, std::uint32_t& done) override {
        return Count(inner.Write(handle, buffer, n, done));
    }
    bool Control(OsHandle handle, std::uint32_t code, const void* in, std::uint32_t inLength,
                 void* out, std::uint32_t outLength, std::uint32_t& returned) override {
        return Count(inner.Control(handle, code, in, inLength, out, outLength, returned));
    }

    int failures = 0;

  private:
    bool Count(bool done) {
        if (!done) ++failures;
        return done;
    }

    DeviceFiles& inner;
};

class Soak : public ::testing::Test, public test::SimulatedConsoleParts {
  protected:
    // A button with the edits typed and the file chosen before it; the
    // bundle comes from the system menu.
    struct Procedure {
        const char* name;
        int button;
        std::vector<std::pair<int, const char*>> edits = {};
        const char* file = nullptr;
    };
    struct Fault {
        const char* name;
        // Arms the fault; the pump number given is the random moment for
        // the faults that strike in the middle of a watch.
        std::function<void(int pump)> arm;
        // Whether the armed fault took effect.
        std::function<bool()> fired;
    };

    void Click(ConsoleDialog& console, int button) { windows.Click(console.window(), button); }

    void Run(ConsoleDialog& console, const Procedure& procedure) {
        for (const auto& [edit, text] : procedure.edits) windows.Type(console.window(), edit, text);
        if (procedure.file != nullptr) windows.QueueFileAnswer(procedure.file);
        if (procedure.button == console_id::kBundleCommand) {
            console.Send({ui::kWmSysCommand, console_id::kBundleCommand, 0});
        } else {
            Click(console, procedure.button);
        }
    }

    static std::vector<Procedure> Procedures() {
        return {
            {"Get Report", console_id::kGetReport},
            {"Get Parameters", console_id::kGetParameters, {}, kBlockA},
            {"Put Parameters", console_id::kPutParameters, {}, kBlockA},
            {"Put Parameters", console_id::kPutParameters, {}, kBlockB},
            {"Write Serial", console_id::kWriteSerial, {{console_id::kSerialNumber, "SK12345"}}},
            {"Clear Spindle Time", console_id::kClearSpindleTime},
            {"Check Serial Port", console_id::kCheckSerialPort},
            {"Write XY",
             console_id::kWriteXY,
             {{console_id::kCorrectionX, "100.1"}, {console_id::kCorrectionY, "99.9"}}},
            {"Corr.Cut", console_id::kCorrectionCut},
            {"Write Laser",
             console_id::kWriteLaser,
             {{console_id::kLaserX, "120"}, {console_id::kLaserY, "-80"}}},
            {"Write Y0", console_id::kWriteY0, {{console_id::kY0Offset, "35"}}},
            {"Tool Position", console_id::kToolPosition},
            {"Check Load X", console_id::kCheckLoadX},
            {"Check Load A", console_id::kCheckLoadA},
            {"Start Aging", console_id::kStartAging},
            {"Read Spindle", console_id::kReadSpindle},
            {"Check Backlash", console_id::kBacklashCheck},
            {"Check Panel", console_id::kCheckPanel},
            {"Output File", console_id::kOutputFile, {}, kJobFile},
            {"Save Service Bundle", console_id::kBundleCommand, {}, "C:\\Soak\\bundle.zip"},
        };
    }

    std::vector<Fault> Faults() {
        SimFaults& f = env.Faults();
        std::vector<Fault> faults = {
            {"none", [](int) {}, [] { return false; }},
            {"refuse the next command", [&f](int) { f.refuseNextStartedCommand = true; },
             [&f] { return f.refusedStartedCommand.has_value(); }},
            {"fail the next bulk read", [&f](int) { f.failNextRead = true; },
             [&f] { return !f.failNextRead; }},
            {"fail the next bulk write", [&f](int) { f.failNextWrite = true; },
             [&f] { return !f.failNextWrite; }},
            {"fail the next procedure", [&f](int) { f.failNextProcedure = true; },
             [&f] { return !f.failNextProcedure; }},
            {"corrupt the next parameter put", [&f](int) { f.corruptNextPut = true; },
             [&f] { return !f.corruptNextPut; }},
            {"unplug in the middle of a watch", [&](int pump) { unplugAtPump = pump; },
             [&] { return unpluggedByPump && device.failures > failuresAtUnplug; }},
        };
        for (SimUnplugAt at :
             {SimUnplugAt::BeforeDataPhase, SimUnplugAt::BeforeTrigger, SimUnplugAt::AfterTrigger,
              SimUnplugAt::BetweenPolls, SimUnplugAt::MidStream, SimUnplugAt::DuringPrintJob}) {
            faults.push_back({"pull the cable", [&f, at](int) { f.unplugAt = at; },
                              [&] { return !env.Plugged(); }});
        }
        return faults;
    }

    // The technician's hand at the machine while the console serves its
    // windows: the cable pulled at the chosen moment, and Stop pressed in a
    // progress window that has been up long enough.
    void OnPump() {
        ++pumps;
        if (pumps == unplugAtPump && env.Plugged()) {
            env.Unplug();
            unpluggedByPump = true;
            failuresAtUnplug = device.failures;
        }
        const ui::Dialog* progress = windows.FindDialog(progress_id::kDialog);
        if (progress != nullptr && pumps >= stopAtPump)
            windows.Click(progress->window(), progress_id::kStop);
    }

    // The fault taken away: the cable back in (Windows tells the console of
    // the removal and of the arrival); then the technician sends an idle
    // machine back to its origin with its Enter key. A procedure the machine
    // still runs is the console's to find and stop.
    void Recover(ConsoleDialog& console) {
        env.Faults() = {};
        unplugAtPump = -1;
        if (!env.Plugged()) {
            console.OnDeviceChange(ui::kDbtDevNodesChanged, 0);
            env.PlugIn();
            console.OnDeviceChange(ui::kDbtDevNodesChanged, 0);
            // The console's message loop serves what the arrival posted.
            windows.DeliverPosted();
        }
        env.WithMachine([&](SimMachine& machine) {
            machine.Update();
            if (machine.ProcedureRunning()) return;
            if ((machine.StatusWord() & 0x0001) == 0 || machine.Busy()) machine.ReturnToOrigin();
            for (int i = 0; i < 10000 && machine.Busy(); ++i) {
                clock.Advance(100);
                machine.Update();
            }
        });
    }

    // What a technician expects of the console after any procedure; empty
    // when all holds.
    std::string CheckConsole(ConsoleDialog& console) {
        if (!console.IsWindowEnabled()) return "the console is left disabled";
        if (windows.FindDialog(progress_id::kDialog) != nullptr) return "a progress window is left";
        if (!console.IsConnected()) return "the console did not reconnect";
        if (env.WithMachine([](SimMachine& machine) { return machine.ProcedureRunning(); }))
            return "the machine still runs a procedure the console cannot stop";
        const auto timers = windows.ActiveTimers(console.window());
        if (timers.size() != 1) return std::to_string(timers.size()) + " timers run";
        windows.ClearBoxes();
        Click(console, console_id::kClearPumpTime);
        const auto& boxes = windows.Boxes();
        if (boxes.empty() || boxes.back().text != "Completed")
            return "Clear Pump Time did not complete: " +
                   (boxes.empty() ? std::string("no box") : boxes.back().text);
        return {};
    }

    bool ShowedCompleted() const {
        for (const auto& box : windows.Boxes())
            if (box.text.rfind("Completed", 0) == 0) return true;
        return false;
    }

    std::uint32_t random() { return static_cast<std::uint32_t>(generator()); }

    CountingDeviceFiles device{env.Files()};
    LinkPlatform countedLink{device,         env.Locks(),  env.System(), env.Spooler(),
                             env.Registry(), app.alerts(), env.Text()};
    ConsoleServices countedServices{app,      countedLink, program,     files,
                                    settings, versions,    userSettings};
    int failuresAtUnplug = 0;
    std::mt19937_64 generator;
    int pumps = 0;
    int unplugAtPump = -1;
    int stopAtPump = 0;
    bool unpluggedByPump = false;
};

TEST_F(Soak, OneConsoleThroughManyFaultsInARow) {
    const std::uint64_t seed = EnvNumber("HW_SOAK_SEED", std::random_device{}());
    const std::uint64_t runs = EnvNumber("HW_SOAK_RUNS", kDefaultRuns);
    std::cout << "soak seed " << seed << ", " << runs << " runs\n";
    generator.seed(seed);
    clock.SetStep(5);
    files.Put(kJobFile, "IN;PU0,0;");
    windows.OnPump([this] { OnPump(); });

    std::uint64_t survived = 0;
    windows.OnModal(console_id::kDialog, [&](ui::Dialog& dialog) {
        auto& console = static_cast<ConsoleDialog&>(dialog);
        ASSERT_TRUE(console.IsConnected());
        // Two blocks the machine itself made: the first, and one with
        // another serial number.
        Run(console, {"", console_id::kGetParameters, {}, kBlockA});
        Run(console, {"", console_id::kWriteSerial, {{console_id::kSerialNumber, "SK00001"}}});
        Run(console, {"", console_id::kGetParameters, {}, kBlockB});
        ASSERT_TRUE(files.Text(kBlockA) && files.Text(kBlockB));

        const auto procedures = Procedures();
        const auto faults = Faults();
        for (; survived < runs; ++survived) {
            const Procedure& procedure = procedures[random() % procedures.size()];
            const Fault& fault = faults[random() % faults.size()];
            pumps = 0;
            unpluggedByPump = false;
            stopAtPump = 20 + static_cast<int>(random() % 200);
            fault.arm(1 + static_cast<int>(random() % 100));
            windows.ClearBoxes();
            Run(console, procedure);
            const bool fired = fault.fired();
            std::string broken;
            if (fired && ShowedCompleted()) broken = "ended in Completed although the fault fired";
            Recover(console);
            if (broken.empty()) broken = CheckConsole(console);
            if (!broken.empty()) {
                ADD_FAILURE() << "run " << survived + 1 << " (seed " << seed
                              << "): " << procedure.name << " under '" << fault.name
                              << "': " << broken;
                break;
            }
        }
        console.EndDialog(ui::kIdOk);
    });
    ConsoleDialog console(services);
    console.DoModal();
    std::cout << "soak survived " << survived << " of " << runs << " runs\n";
}

}  // namespace
}  // namespace hw
