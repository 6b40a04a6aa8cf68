#include "console/bundle/ServiceBundleProcedure.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "console/Messages.h"
#include "console/backlash/BacklashCsv.h"
#include "console/backlash/BacklashTable.h"
#include "console/bundle/ActivityLog.h"
#include "console/bundle/ServiceBundle.h"
#include "console/bundle/VersionStrings.h"
#include "console/checks/BitLabels.h"
#include "console/checks/SpindleReadout.h"
#include "console/files/FileDialogs.h"
#include "console/files/FileSteps.h"
#include "console/files/OfferedNames.h"
#include "console/files/SafeFileWriter.h"
#include "console/parameters/ParameterBlock.h"
#include "console/windows/ProgressDialog.h"
#include "link/DeviceChannel.h"
#include "link/Discovery.h"
#include "platform/files/MemFile.h"
#include "ui/Dialog.h"

namespace hw {

namespace {

constexpr std::string_view kBundleCaption = "Save Service Bundle";
constexpr std::string_view kReadingReport = "Reading the report...";
constexpr std::string_view kReadingParameters = "Reading the parameter block...";
constexpr std::string_view kWritingBundle = "Writing the bundle...";
constexpr std::uint32_t kReportGrowth = 1024;

std::string Hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, value);
    return text;
}

std::string Line(std::string_view label, std::string_view value) {
    return std::string(label) + ": " + std::string(value) + "\r\n";
}

// The status word's bits by name, as the procedures read them.
std::string StatusWordText(std::uint16_t status) {
    if (status == kStatusNoAnswer)
        return Hex(status, 4) + " (not read: the machine did not answer)";
    std::string text = Hex(status, 4) + " (state " + std::to_string(status & kStatusStateMask);
    if ((status & kStatusStateMask) == kStateProcedureRunning) text += ": procedure running";
    if ((status & kStatusStateMask) == kStateError) text += ": error";
    if (status & kStatusReadyAtOrigin) text += ", ready at origin";
    if (status & kStatusFailed) text += ", failed";
    if (status & kStatusBusy) text += ", busy";
    if (status & kStatusUpdateMode) text += ", update mode";
    return text + ")";
}

// The reply bytes in hex, then each label's text as the console shows it.
std::string LabelledBytes(std::span<const BitLabel> labels, std::span<const std::uint8_t> reply) {
    std::string text;
    for (std::uint8_t byte : reply) text += Hex(byte, 2) + " ";
    for (const BitLabel& label : labels) {
        text += ' ';
        text += (reply[label.byte] & label.mask) ? label.set : label.clear;
    }
    return text;
}

std::string NotRead(std::string_view what) {
    return std::string("not read (").append(what) + ")";
}

// "Windows NT family 10.0 build 19045": the family, the version and the build
// the version query reports.
std::string WindowsVersionText(System& system) {
    OsVersion version;
    if (!system.QueryOsVersion(version)) return NotRead("the version query failed");
    return (version.platformId == kPlatformWin32Windows ? "Windows 95/98/Me family "
                                                        : "Windows NT family ") +
           std::to_string(version.major) + "." + std::to_string(version.minor) + " build " +
           std::to_string(version.build);
}

}  // namespace

void ServiceBundleProcedure::SaveChosenFile() {
    if (!context.session.RequireOnline(context.reporter)) return;
    const auto& services = context.services;
    const LocalTime now = services.link.system.Now();
    const auto path = context.App().ShowFileDialog(
        FileDialogOptionsFor(false, "Zip archive (*.zip)|*.zip||", kBundleFiles,
                             StampedFileName(context.session.Queue(), now, ".zip"), "zip"),
        context.Window());
    if (path) Save(*path, now);
}

bool ServiceBundleProcedure::Save(const std::string& path) {
    return Save(path, context.services.link.system.Now());
}

bool ServiceBundleProcedure::Save(const std::string& path, const LocalTime& when) {
    Reporter& reporter = context.reporter;
    if (!context.session.RequireOnline(reporter)) return false;
    // Whether the chosen file can be replaced is known before the machine
    // is asked.
    std::optional<SafeFileWriter> out;
    if (!FileStepSucceeds(reporter, [&] { out.emplace(context.services.files, path); }))
        return false;

    bool stopped = false;
    bool saved = false;
    std::string leftOut;
    {
        PollingPause paused(context.polling);
        const auto progress = ShowProgress(context.window, kBundleCaption);
        // Each step's text, and the window served between steps; Stop keeps
        // the bundle from being written.
        const auto status = [&](std::string_view text) {
            reporter.Progress(text);
            if (!progress) return;
            progress->SetStatusText(text);
            stopped = progress->CheckCancel() || stopped;
        };
        const std::vector<BundleMember> members = ReadMembers(status, leftOut);
        status(kWritingBundle);
        if (!stopped) saved = Write(*out, members, when);
    }
    // The progress window is gone before the end is reported. A bundle
    // without some of its parts is no plain success: each is named.
    if (saved && leftOut.empty()) {
        reporter.Completed(std::string(kTextCompleted) + "\n" + path);
        return true;
    }
    if (saved) {
        std::erase(leftOut, '\r');
        leftOut.pop_back();  // the last line's end
        reporter.Incomplete("Saved with parts left out: " + path + "\n" + leftOut);
        return true;
    }
    FileStepSucceeds(reporter, [&] { out->Discard(); });
    return false;
}

bool ServiceBundleProcedure::Write(SafeFileWriter& out, const std::vector<BundleMember>& members,
                                   const LocalTime& when) {
    std::vector<std::uint8_t> archive;
    try {
        archive = BundleArchive(members, when);
    } catch (const std::exception& error) {
        context.log.Add(std::string("The bundle could not be built: ") + error.what());
        context.reporter.Error(kTextError);
        return false;
    }
    return FileStepSucceeds(context.reporter, [&] {
        out.file().Write(archive.data(), static_cast<std::uint32_t>(archive.size()));
        out.Commit();
    });
}

std::vector<BundleMember> ServiceBundleProcedure::ReadMembers(
    const std::function<void(std::string_view)>& status, std::string& leftOut) {
    std::vector<BundleMember> members;

    status(kReadingReport);
    MemFile report(kReportGrowth);
    if (context.link().GetReport(report)) {
        // The report as Get Report shows it: up to its NUL.
        const std::string_view text(reinterpret_cast<const char*>(report.Data()),
                                    static_cast<std::size_t>(report.GetLength()));
        members.push_back({"report.txt", std::string(text.substr(0, text.find('\0')))});
    } else {
        leftOut += Line("report.txt left out", "the machine did not send its service report");
    }

    status(kReadingParameters);
    if (const auto block = ReadParameterBlock(context.link())) {
        members.push_back({"parameters.bin", std::string(block->begin(), block->end())});
    } else {
        leftOut += Line("parameters.bin left out", "the machine did not send its parameter block");
    }

    // The table of the last run that completed, though a later one failed.
    const BacklashRecord& record = backlash;
    const std::string backlashRun = record.completedAt
                                        ? "run completed " + TimestampText(*record.completedAt)
                                        : std::string("no run completed in this session");
    members.push_back(
        {"machine.txt", MachineText() + Line("Backlash table", backlashRun) + leftOut});
    if (record.completedAt) {
        members.push_back({"backlash.csv", BacklashCsvText(record.table)});
        members.push_back({"backlash.txt", BacklashTableText(record.table)});
    }
    members.push_back({"activity.log", context.log.Activity().Text()});
    return members;
}

std::string ServiceBundleProcedure::MachineText() {
    std::string text = Line("Queue name", context.session.Queue());
    std::string driver, port;
    if (GetPrinterDriverAndPort(context.services.link.spooler, context.session.Queue(), driver,
                                port)) {
        text += Line("Driver name", driver) + Line("Port", port);
    } else {
        text += Line("Driver name", kMachineDriverName) +
                Line("Port", NotRead("the printer record could not be read"));
    }
    text += Line("Device path", context.link().Channel().DevicePath());
    text += Line("Device instance", context.session.Instance());

    char version[64] = {};
    text += Line("Firmware version", context.link().GetVersionString(version, sizeof version)
                                         ? std::string(version)
                                         : NotRead("the machine did not answer"));
    text += Line("Panel type", context.session.PanelTypeJ() ? "J (rotary axis dial)" : "standard");
    text += Line("Status word", StatusWordText(context.link().GetStatusWord()));

    std::array<std::uint8_t, kSensorReplyBytes> sensors{};
    text += Line("Sensors", context.link().GetSensorBytes(sensors.data(), kSensorReplyBytes) ==
                                    kSensorReplyBytes
                                ? LabelledBytes(kSensorLabels, sensors)
                                : NotRead("the machine did not answer"));
    std::array<std::uint8_t, kPanelReplyBytes> keys{};
    text += Line("Panel keys",
                 context.link().GetPanelKeys(keys.data(), kPanelReplyBytes) == kPanelReplyBytes
                     ? LabelledBytes(kPanelLabels, keys)
                     : NotRead("the machine did not answer"));

    const auto spindle = ReadSpindleTexts(context.link());
    const auto orNotRead = [](const std::string& value) {
        return value.empty() ? NotRead("the machine did not answer") : value;
    };
    if (spindle) {
        // The temperature text holds Celsius over Fahrenheit.
        std::string temperature = orNotRead(spindle->temperature);
        std::replace(temperature.begin(), temperature.end(), '\n', ' ');
        text += Line("Spindle temperature", temperature) +
                Line("Spindle current", orNotRead(spindle->current));
    } else {
        text += Line("Spindle", NotRead("the meter channel could not be selected"));
    }

    const auto strings =
        ReadVersionStrings(context.services.versionBlocks, context.paths.modulePath);
    text += Line("Program file version", strings && strings->fileVersion
                                             ? *strings->fileVersion
                                             : NotRead("the program has no file version"));
    text += Line("Windows", WindowsVersionText(context.services.link.system));
    return text;
}

}  // namespace hw
