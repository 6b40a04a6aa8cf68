// Saves service bundles from the simulated machine through the console, for
// check_bundle.py to open with an independent zip reader. Writes into the
// folder argv[1]: bundle.zip, no-report.zip (the report stream broken),
// backlash.zip (saved with no window, as the command line saves it, with
// the table a completed backlash run leaves), and the report and parameter block
// the machine sent, to compare with.
#include <fstream>
#include <iostream>
#include <string>

#include "SimulatedConsoleParts.h"
#include "WindowlessProcedures.h"
#include "console/ConsoleDialog.h"
#include "console/ConsoleIds.h"
#include "console/bundle/ServiceBundleProcedure.h"

namespace {

using namespace hw;

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<long>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: bundle_sample FOLDER\n";
        return 2;
    }
    const std::string folder = argv[1];
    test::SimulatedConsoleParts parts;
    SimEnvironment& env = parts.env;
    ui::HeadlessWindowSystem& windows = parts.windows;

    std::string report;
    windows.OnModal(console_id::kDialog, [&](ui::Dialog& console) {
        windows.Click(console.window(), console_id::kCheckSerialPort);
        // The report lists the transfers made so far: the one the bundle reads.
        report = env.Machine().ReportText();
        windows.QueueFileAnswer("C:\\Support\\bundle.zip");
        console.Send({ui::kWmSysCommand, console_id::kBundleCommand, 0});
        env.Faults().failNextRead = true;
        windows.QueueFileAnswer("C:\\Support\\no-report.zip");
        console.Send({ui::kWmSysCommand, console_id::kBundleCommand, 0});
    });
    {
        ConsoleDialog console(parts.services);
        console.DoModal();
    }
    // As a completed backlash run leaves its record.
    BacklashRecord backlash;
    backlash.completedAt = LocalTime{2026, 12, 9, 7, 45, 3};
    backlash.table[1] = {9.0, 0.25, -0.125};
    test::WindowlessProcedures windowless(parts);
    ServiceBundleProcedure bundle(windowless.context, backlash);
    if (!bundle.Save("C:\\Support\\backlash.zip")) {
        for (const std::string& line : windowless.reporter.told) std::cerr << line << "\n";
        return 1;
    }

    WriteFile(folder + "/bundle.zip", parts.files.Text("C:\\Support\\bundle.zip").value_or(""));
    WriteFile(folder + "/no-report.zip",
              parts.files.Text("C:\\Support\\no-report.zip").value_or(""));
    WriteFile(folder + "/backlash.zip", parts.files.Text("C:\\Support\\backlash.zip").value_or(""));
    WriteFile(folder + "/report.txt", report);
    const auto block = env.Machine().Parameters().Block();
    WriteFile(folder + "/parameters.bin", std::string(block.begin(), block.end()));
    return 0;
}
