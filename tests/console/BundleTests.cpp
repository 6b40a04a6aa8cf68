// The activity log's limit and the service bundle's file handling: offline,
// and a move that fails. The archive's contents are checked with an
// independent zip reader (check_bundle.py).
#include <gtest/gtest.h>

#include <string>

#include "SimulatedConsoleParts.h"
#include "console/ConsoleDialog.h"
#include "console/ConsoleIds.h"
#include "console/bundle/ActivityFiles.h"
#include "console/bundle/ActivityLog.h"
#include "console/bundle/ZipArchive.h"
#include "console/files/SafeFileWriter.h"
#include "console/windows/ProgressDialog.h"
#include "fakes/FakePlatform.h"

namespace hw {
namespace {

constexpr const char* kBundle = "C:\\Support\\qmv.zip";

// A line added with Keep stays besides the last 2000 others.
TEST(ActivityLog, KeepsTheLast2000LinesStampedToTheSecond) {
    test::FakeSystem system;
    system.localTime = {2026, 3, 4, 5, 6, 7};
    ActivityLog log(system);
    log.Add("event 0");
    log.Keep("serial");
    for (int i = 1; i <= 2001; ++i) log.Add("event " + std::to_string(i) + "\nmore");
    const std::string text = log.Text();
    EXPECT_EQ(text.rfind("2026-03-04 05:06:07  serial\r\n"
                         "2026-03-04 05:06:07  event 2 more\r\n",
                         0),
              0u);
    EXPECT_NE(text.find("event 2001 more\r\n"), std::string::npos);
    EXPECT_EQ(text.find("event 1 "), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2001);
}

// The date word holds years 1980 to 2107; outside them the stamp is clamped
// to the nearest end instead of wrapping round.
TEST(ZipArchive, DatesClampedToTheFormatsYears) {
    struct Case {
        LocalTime when;
        std::uint16_t date;
        std::uint16_t time;
    };
    const Case cases[] = {
        {{1979, 12, 31, 23, 59, 59}, 0x0021, 0x0000},
        {{2026, 12, 9, 8, 0, 7}, (46 << 9) | (12 << 5) | 9, (8 << 11) | 3},
        {{2107, 12, 31, 23, 59, 58}, 0xFF9F, 0xBF7D},
        {{2108, 1, 1, 0, 0, 0}, 0xFF9F, 0xBF7D},
        {{2300, 6, 15, 12, 30, 0}, 0xFF9F, 0xBF7D},
    };
    for (const Case& c : cases) {
        const DosDateTime stamp = ToDosDateTime(c.when);
        EXPECT_EQ(stamp.date, c.date) << c.when.year;
        EXPECT_EQ(stamp.time, c.time) << c.when.year;
    }
}

// A file given up after a failed flush is closed while the failure is being
// handled; a size query that fails then as well is not thrown from there.
TEST(ActivityFiles, AFailedSizeQueryAfterAFailedFlushIsNotThrown) {
    test::FakeSystem system;
    test::FakeFileSystem disk;
    ActivityLog log(system);
    ActivityFiles files(disk, log);
    disk.flushFailure = FileException::Cause::DiskFull;
    disk.lengthFailure = FileException::Cause::Generic;
    {
        SafeFileWriter out(files, "C:\\Support\\qmv.zip");
        out.file().Write("zip", 3);
        EXPECT_THROW(out.Commit(), FileException);
    }
    EXPECT_TRUE(disk.files.empty());
    EXPECT_EQ(disk.openFiles, 0);
}

class Bundle : public ::testing::Test, public test::SimulatedConsoleParts {
  protected:
    // Runs the console with services; body acts while it is up.
    void Run(const ConsoleServices& with, const std::function<void(ConsoleDialog&)>& body) {
        windows.OnModal(console_id::kDialog, [&](ui::Dialog& dialog) {
            windows.ClearBoxes();
            body(static_cast<ConsoleDialog&>(dialog));
        });
        ConsoleDialog console(with);
        console.DoModal();
    }

    void SaveBundle(ConsoleDialog& console) {
        windows.QueueFileAnswer(kBundle);
        console.Send({ui::kWmSysCommand, console_id::kBundleCommand, 0});
    }

    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : windows.Boxes()) texts.push_back(box.text);
        return texts;
    }
};

TEST_F(Bundle, OfflineShowsOfflineAndWritesNothing) {
    test::FakePlatform offline;
    Run({app, offline.platform, program, files, settings, versions, userSettings},
        [&](ConsoleDialog& console) { SaveBundle(console); });
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"OFFLINE"});
    EXPECT_TRUE(windows.FileDialogs().empty());
    EXPECT_TRUE(files.files.empty());
}

TEST_F(Bundle, AFailedMoveLeavesTheChosenFileAndRestartsPolling) {
    files.Put(kBundle, "old bundle");
    Run(services, [&](ConsoleDialog& console) {
        files.replaceFailure = FileException::Cause::AccessDenied;
        SaveBundle(console);
        EXPECT_GT(console.SensorTimerId(), 0);
        ASSERT_EQ(windows.Boxes().size(), 1u);
        EXPECT_NE(BoxTexts()[0].find("qmv.zip"), std::string::npos);
        EXPECT_EQ(BoxTexts()[0].find("Completed"), std::string::npos);
    });
    EXPECT_EQ(files.Text(kBundle), "old bundle");
    EXPECT_EQ(files.files.size(), 1u);
}

TEST_F(Bundle, StopInTheProgressWindowWritesNothing) {
    windows.OnPump([&] {
        if (const ui::Dialog* progress = windows.FindDialog(progress_id::kDialog))
            windows.Click(progress->window(), progress_id::kStop);
    });
    Run(services, [&](ConsoleDialog& console) {
        SaveBundle(console);
        EXPECT_TRUE(windows.Boxes().empty());
        EXPECT_GT(console.SensorTimerId(), 0);
    });
    EXPECT_TRUE(files.files.empty());
}

TEST_F(Bundle, TheEndBoxNamesEachPartLeftOutAndWhy) {
    Run(services, [&](ConsoleDialog& console) {
        env.Faults().failNextRead = true;
        SaveBundle(console);
    });
    ASSERT_EQ(windows.Boxes().size(), 1u);
    EXPECT_EQ(windows.Boxes()[0].text, std::string("Saved with parts left out: ") + kBundle +
                                           "\nreport.txt left out: the machine did not send its "
                                           "service report");
    EXPECT_EQ(windows.Boxes()[0].style, ui::kMbOk | ui::kMbIconExclamation);
    EXPECT_TRUE(files.Text(kBundle).has_value());
}

// A second passes on every round of the progress window's messages: the
// console's sensor timer, were it running, would poll and set its labels.
TEST_F(Bundle, NoSensorPollWhileItIsMade) {
    int pumps = 0;
    windows.OnPump([&] {
        ++pumps;
        clock.Advance(1000);
    });
    Run(services, [&](ConsoleDialog& console) {
        SaveBundle(console);
        EXPECT_GT(pumps, 1);
        EXPECT_EQ(console.ItemText(console_id::kLimitX), "LimitX=");
    });
}

TEST_F(Bundle, TheSavedBundleIsNamedAndLoggedWithItsSize) {
    Run(services, [&](ConsoleDialog& console) {
        SaveBundle(console);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{std::string("Completed\n") + kBundle});
        const std::string size = std::to_string(files.Text(kBundle).value_or("").size());
        EXPECT_NE(console.Activity().Text().find(std::string("Wrote ") + kBundle + " (" + size +
                                                 " bytes)"),
                  std::string::npos);
    });
    ASSERT_EQ(windows.FileDialogs().size(), 1u);
    EXPECT_EQ(windows.FileDialogs()[0].options.initialName, "QMV-240 2026-12-09 0800.zip");
}

}  // namespace
}  // namespace hw
