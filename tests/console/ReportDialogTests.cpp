#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "console/backlash/BacklashProcedures.h"
#include "console/windows/ReportDialog.h"
#include "fakes/FakeFileSystem.h"
#include "ui/Application.h"
#include "ui/headless/HeadlessWindowSystem.h"

namespace hw {
namespace {

using Cause = FileException::Cause;

// The headless window system puts every client area at this screen point.
constexpr ui::Point kClientOrigin{100, 50};
// Its scroll arrow, and so the grip, is 17 pixels square.
constexpr int kGrip = 17;

std::intptr_t PackPoint(int x, int y) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(y) & 0xFFFF) << 16 |
                                      (static_cast<std::uint32_t>(x) & 0xFFFF));
}

class ReportViewer : public ::testing::Test {
  protected:
    // Shows text in the Report dialog; body acts while it is up.
    // With backlash rows, the dialog offers them as the backlash table.
    void Show(const char* text, const std::function<void(ReportDialog&)>& body,
              std::span<const BacklashEntry> backlash = {}) {
        windows.OnModal(report_id::kDialog,
                        [&](ui::Dialog& dialog) { body(static_cast<ReportDialog&>(dialog)); });
        ReportDialog dialog(app, files, text);
        if (!backlash.empty()) OfferBacklashTable(dialog, backlash, {});
        dialog.DoModal();
    }

    std::map<int, ui::Rect> Rects(const ReportDialog& dialog) const {
        std::map<int, ui::Rect> rects;
        for (int item : {report_id::kSave, report_id::kClose, report_id::kText})
            rects[item] = windows.Item(dialog.window(), item).rect;
        return rects;
    }

    std::intptr_t HitTest(ReportDialog& dialog, int clientX, int clientY) {
        return dialog.Send(
            {ui::kWmNcHitTest, 0, PackPoint(clientX + kClientOrigin.x, clientY + kClientOrigin.y)});
    }

    void Save(ReportDialog& dialog, const std::string& chosen) {
        windows.QueueFileAnswer(chosen);
        ASSERT_TRUE(windows.Click(dialog.window(), report_id::kSave));
    }

    ui::HeadlessWindowSystem windows;
    ui::Application app{windows, "Hexwarden"};
    test::FakeFileSystem files;
};

TEST_F(ReportViewer, ShowsTheTextUnderItsOwnCaption) {
    Show("QMV-240 SERVICE REPORT\r\nSerial number   : QMV0117\r\n", [&](ReportDialog& dialog) {
        EXPECT_EQ(dialog.Title(), "Report");
        EXPECT_EQ(dialog.ItemText(report_id::kText),
                  "QMV-240 SERVICE REPORT\r\nSerial number   : QMV0117\r\n");
        std::vector<int> order;
        for (const auto* item : windows.Items(dialog.window())) order.push_back(item->id);
        EXPECT_EQ(order, (std::vector<int>{report_id::kSave, report_id::kClose, report_id::kText}));
        EXPECT_EQ(dialog.Layout().Count(), 3u);
        ASSERT_TRUE(windows.Click(dialog.window(), report_id::kClose));
    });
    ASSERT_EQ(windows.Modals().size(), 1u);
    EXPECT_EQ(windows.Modals()[0].result, ui::kIdCancel);
}

TEST_F(ReportViewer, ATextWithANulBeforeItsEndIsShownAndSavedUpToIt) {
    const char text[] = "shown part\0hidden part";
    Show(text, [&](ReportDialog& dialog) {
        EXPECT_EQ(dialog.ItemText(report_id::kText), "shown part");
        Save(dialog, "C:\\Reports\\rep.txt");
    });
    EXPECT_EQ(files.Text("C:\\Reports\\rep.txt"), "shown part");
}

TEST_F(ReportViewer, ButtonsKeepToTheCornerAndTheTextGrows) {
    Show("report", [&](ReportDialog& dialog) {
        const ui::Rect client = dialog.ClientRect();
        const auto before = Rects(dialog);
        windows.Resize(dialog.window(), client.right + 120, client.bottom + 45);
        const auto after = Rects(dialog);
        for (int button : {report_id::kSave, report_id::kClose}) {
            const ui::Rect& b = before.at(button);
            EXPECT_EQ(after.at(button),
                      (ui::Rect{b.left + 120, b.top + 45, b.right + 120, b.bottom + 45}));
        }
        const ui::Rect& t = before.at(report_id::kText);
        EXPECT_EQ(after.at(report_id::kText),
                  (ui::Rect{t.left, t.top, t.right + 120, t.bottom + 45}));
    });
}

TEST_F(ReportViewer, ShrunkToNothingAndGrownBackEveryControlReturns) {
    Show("report", [&](ReportDialog& dialog) {
        const ui::Rect client = dialog.ClientRect();
        const auto atStart = Rects(dialog);
        windows.Resize(dialog.window(), 300, 200);
        const auto atMiddle = Rects(dialog);
        windows.Resize(dialog.window(), 0, 0);
        // The text has no room: it stays where it was last.
        EXPECT_EQ(Rects(dialog).at(report_id::kText), atMiddle.at(report_id::kText));
        windows.Resize(dialog.window(), 300, 200);
        EXPECT_EQ(Rects(dialog), atMiddle);
        windows.Resize(dialog.window(), client.right, client.bottom);
        EXPECT_EQ(Rects(dialog), atStart);
    });
}

TEST_F(ReportViewer, TheGripIsPaintedAndHitInTheBottomRightCorner) {
    Show("report", [&](ReportDialog& dialog) {
        const ui::Rect client = dialog.ClientRect();
        const ui::Rect grip{client.right - kGrip, client.bottom - kGrip, client.right,
                            client.bottom};
        EXPECT_EQ(dialog.GripRect(), grip);
        dialog.Send({ui::kWmPaint, 0, 0});
        EXPECT_EQ(windows.PaintedGrips(dialog.window()), std::vector<ui::Rect>{grip});

        EXPECT_EQ(HitTest(dialog, grip.left, grip.top), ui::kHtBottomRight);
        EXPECT_EQ(HitTest(dialog, grip.right - 1, grip.bottom - 1), ui::kHtBottomRight);
        // Just outside the square the default hit test answers.
        EXPECT_EQ(HitTest(dialog, grip.left - 1, grip.bottom - 1), 0);
        EXPECT_EQ(HitTest(dialog, grip.right - 1, grip.top - 1), 0);
        EXPECT_EQ(HitTest(dialog, grip.right, grip.bottom), 0);

        // Sizing invalidates the grip at its new place, without erasing.
        windows.Resize(dialog.window(), 700, 400);
        const ui::Rect moved{700 - kGrip, 400 - kGrip, 700, 400};
        ASSERT_FALSE(windows.Invalidated(dialog.window()).empty());
        EXPECT_EQ(windows.Invalidated(dialog.window()).back(), moved);
        EXPECT_EQ(HitTest(dialog, 699, 399), ui::kHtBottomRight);
        EXPECT_EQ(HitTest(dialog, grip.left, grip.top), 0);

        // The end of a sizing repaints the whole client area.
        EXPECT_EQ(dialog.Send({ui::kWmExitSizeMove, 0, 0}), 1);
        EXPECT_EQ(windows.Invalidated(dialog.window()).back(), std::nullopt);
    });
}

TEST_F(ReportViewer, SaveOffersTextFilesAndTheStarExtension) {
    Show("report", [&](ReportDialog& dialog) {
        ASSERT_TRUE(windows.Click(dialog.window(), report_id::kSave));  // cancelled
        ASSERT_EQ(windows.FileDialogs().size(), 1u);
        const auto& record = windows.FileDialogs()[0];
        EXPECT_EQ(record.owner, dialog.window());
        EXPECT_FALSE(record.options.open);
        EXPECT_EQ(record.options.defaultExtension, "*");
        EXPECT_EQ(record.options.initialName, "");
        EXPECT_EQ(record.options.flags, ui::kOfnHideReadOnly | ui::kOfnOverwritePrompt);
        EXPECT_EQ(record.options.filter, "Text file (*.txt)|*.txt|all |*.*||");
    });
    EXPECT_TRUE(files.files.empty());
    EXPECT_TRUE(windows.Boxes().empty());
}

TEST_F(ReportViewer, APathEndingInDotStarLosesItUnlessItIsAllThereIs) {
    struct Case {
        const char* chosen;
        const char* written;
    };
    const Case cases[] = {
        {"C:\\Reports\\rep.*", "C:\\Reports\\rep"},
        {"C:\\Reports\\rep.txt", "C:\\Reports\\rep.txt"},
        {"a.*", "a"},
        {".*", ".*"},
        {"C:\\Reports\\rep.*.*", "C:\\Reports\\rep.*"},
    };
    Show("report", [&](ReportDialog& dialog) {
        for (const Case& c : cases) {
            files.files.clear();
            Save(dialog, c.chosen);
            EXPECT_EQ(files.Text(c.written), "report") << c.chosen;
            EXPECT_EQ(files.files.size(), 1u) << c.chosen;
        }
    });
    EXPECT_TRUE(windows.Boxes().empty());
}

TEST_F(ReportViewer, AFailedSaveKeepsTheOldFileAndTheDialogOpen) {
    files.Put("C:\\Reports\\rep.txt", "last week's report");
    files.diskFullAfter = 3;
    Show("this week's report", [&](ReportDialog& dialog) {
        Save(dialog, "C:\\Reports\\rep.txt");
        EXPECT_TRUE(windows.IsUp(dialog.window()));
        files.openFailures["D:\\ReadOnly\\"] = Cause::AccessDenied;
        Save(dialog, "D:\\ReadOnly\\rep.txt");
        EXPECT_TRUE(windows.IsUp(dialog.window()));
    });
    ASSERT_EQ(windows.Boxes().size(), 2u);
    EXPECT_EQ(windows.Boxes()[0].text, "Disk full while accessing C:\\Reports\\rep.txt.");
    EXPECT_EQ(windows.Boxes()[0].caption, "Hexwarden");
    EXPECT_EQ(windows.Boxes()[0].style, ui::kMbOk | ui::kMbIconExclamation);
    EXPECT_EQ(windows.Boxes()[1].text, "Access to D:\\ReadOnly\\rep.txt was denied.");
    // Neither a half file nor a temporary is left.
    ASSERT_EQ(files.files.size(), 1u);
    EXPECT_EQ(files.Text("C:\\Reports\\rep.txt"), "last week's report");
}

TEST_F(ReportViewer, ATemporaryLeftBehindIsNamed) {
    files.diskFullAfter = 3;
    files.removeFailure = Cause::AccessDenied;
    Show("this week's report", [&](ReportDialog& dialog) { Save(dialog, "C:\\Reports\\rep.txt"); });
    ASSERT_EQ(files.removes.size(), 1u);
    const std::string temporary = files.removes[0];
    EXPECT_EQ(files.files.count(temporary), 1u);
    ASSERT_EQ(windows.Boxes().size(), 2u);
    EXPECT_EQ(windows.Boxes()[0].text, "Disk full while accessing C:\\Reports\\rep.txt.");
    EXPECT_EQ(windows.Boxes()[1].text, "Access to " + temporary + " was denied.");
}

// The file dialog asked about "rep.*"; the file written is "rep", so it is
// asked about in the file dialog's words. A name that keeps its form is not
// asked about again.
TEST_F(ReportViewer, ReplacingTheCutNameIsAskedFirst) {
    files.Put("C:\\Reports\\rep", "last week's report");
    files.Put("C:\\Reports\\rep.txt", "older report");
    Show("this week's report", [&](ReportDialog& dialog) {
        windows.QueueBoxAnswer(ui::kIdNo);
        Save(dialog, "C:\\Reports\\rep.*");
        EXPECT_TRUE(windows.IsUp(dialog.window()));
        EXPECT_EQ(files.Text("C:\\Reports\\rep"), "last week's report");
        EXPECT_TRUE(files.replaces.empty());

        windows.QueueBoxAnswer(ui::kIdYes);
        Save(dialog, "C:\\Reports\\rep.*");
        EXPECT_EQ(files.Text("C:\\Reports\\rep"), "this week's report");

        Save(dialog, "C:\\Reports\\rep.txt");
        EXPECT_EQ(files.Text("C:\\Reports\\rep.txt"), "this week's report");
    });
    ASSERT_EQ(windows.Boxes().size(), 2u);
    for (const auto& box : windows.Boxes()) {
        EXPECT_EQ(box.text, "C:\\Reports\\rep already exists.\nDo you want to replace it?");
        EXPECT_EQ(box.caption, "Hexwarden");
        EXPECT_EQ(box.style, ui::kMbYesNo | ui::kMbIconExclamation | ui::kMbDefButton2);
    }
}

// The backlash table leaves as CSV for a ".csv" name, or for a name typed
// without an extension under the CSV filter, which then gets ".csv".
TEST_F(ReportViewer, BacklashTableSavedAsCsvByNameOrFilter) {
    struct Case {
        const char* chosen;
        int filter;
        const char* written;
        bool csv;
    };
    const Case cases[] = {
        {"C:\\T\\table.*", 2, "C:\\T\\table.csv", true},
        {"C:\\T\\table.CSV", 1, "C:\\T\\table.CSV", true},
        {"C:\\T\\table.txt", 2, "C:\\T\\table.txt", false},
        {"C:\\T\\table.*", 1, "C:\\T\\table", false},
        {"C:\\T\\table.*", 3, "C:\\T\\table", false},
    };
    const BacklashEntry rows[kBacklashSteps] = {{0, 0.018, -0.036}};
    for (const Case& c : cases) {
        files.files.clear();
        Show(
            "Angle[deg] : Backlash[deg]",
            [&](ReportDialog& dialog) {
                windows.QueueFileAnswer(c.chosen, c.filter);
                ASSERT_TRUE(windows.Click(dialog.window(), report_id::kSave));
            },
            rows);
        const std::string text = files.Text(c.written).value_or("missing");
        EXPECT_EQ(text.starts_with("angle_deg,"), c.csv) << c.chosen << " " << c.filter;
        EXPECT_EQ(files.files.size(), 1u);
    }
}

}  // namespace
}  // namespace hw
