#include <gtest/gtest.h>

#include <map>

#include "console/windows/AnchorLayout.h"

namespace hw {
namespace {

// Controls by id with their rectangles; counts the moves.
class Controls final : public LayoutTarget {
  public:
    std::map<int, ui::Rect> rects;
    int moves = 0;

    bool HasControl(int id) const override { return rects.count(id) != 0; }
    void MoveControl(int id, const ui::Rect& rect) override {
        rects[id] = rect;
        ++moves;
    }
};

constexpr int kClose = 2;
constexpr int kSave = 1006;
constexpr int kText = 1008;
constexpr int kWidth = 553;
constexpr int kHeight = 318;
const ui::Rect kCloseRect{459, 292, 531, 311};
const ui::Rect kSaveRect{381, 292, 453, 311};
const ui::Rect kTextRect{1, 1, 551, 285};

// The Report dialog's layout at its template size.
struct ReportLayout {
    ReportLayout() {
        controls.rects = {{kClose, kCloseRect}, {kSave, kSaveRect}, {kText, kTextRect}};
        layout.Start(kWidth, kHeight);
        layout.Add({kCloseRect, kClose, LAYOUT_MOVE_X | LAYOUT_MOVE_Y});
        layout.Add({kSaveRect, kSave, LAYOUT_MOVE_X | LAYOUT_MOVE_Y});
        layout.Add({kTextRect, kText, LAYOUT_SIZE_X | LAYOUT_SIZE_Y});
    }
    void Resize(int width, int height) { layout.Resize(width, height, controls); }

    Controls controls;
    AnchorLayout layout;
};

TEST(AnchoredRect, EachAnchorMovesItsEdges) {
    const ui::Rect r{10, 20, 30, 40};
    struct Case {
        std::uint32_t flags;
        ui::Rect expected;
    };
    const Case cases[] = {
        {0, r},
        {LAYOUT_MOVE_X, {15, 20, 35, 40}},
        {LAYOUT_MOVE_Y, {10, 13, 30, 33}},
        {LAYOUT_SIZE_X, {10, 20, 35, 40}},
        {LAYOUT_SIZE_Y, {10, 20, 30, 33}},
        {LAYOUT_MOVE_X | LAYOUT_MOVE_Y, {15, 13, 35, 33}},
        // Sizing wins over moving on the same axis.
        {LAYOUT_MOVE_X | LAYOUT_SIZE_X, {10, 20, 35, 40}},
        {LAYOUT_MOVE_Y | LAYOUT_SIZE_Y | LAYOUT_MOVE_X, {15, 20, 35, 33}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AnchoredRect({r, 7, c.flags}, 5, -7), c.expected) << c.flags;
    }
}

TEST(AnchorLayout, ButtonsFollowTheCornerAndTheTextGrows) {
    ReportLayout report;
    report.Resize(kWidth + 100, kHeight + 40);
    EXPECT_EQ(report.controls.rects[kClose], (ui::Rect{559, 332, 631, 351}));
    EXPECT_EQ(report.controls.rects[kSave], (ui::Rect{481, 332, 553, 351}));
    EXPECT_EQ(report.controls.rects[kText], (ui::Rect{1, 1, 651, 325}));
    EXPECT_EQ(report.layout.LastWidth(), kWidth + 100);
    EXPECT_EQ(report.layout.LastHeight(), kHeight + 40);
}

TEST(AnchorLayout, ALayoutShrunkToNothingComesBackExactly) {
    ReportLayout report;
    report.Resize(400, 250);
    const auto atMiddle = report.controls.rects;
    report.Resize(0, 0);
    // The text's rectangle is empty now: it was not moved and keeps its last place.
    EXPECT_EQ(report.controls.rects[kText], atMiddle.at(kText));
    EXPECT_TRUE(report.layout.Entries().back().rect.IsEmpty());
    report.Resize(400, 250);
    EXPECT_EQ(report.controls.rects, atMiddle);
    report.Resize(kWidth, kHeight);
    EXPECT_EQ(report.controls.rects[kClose], kCloseRect);
    EXPECT_EQ(report.controls.rects[kSave], kSaveRect);
    EXPECT_EQ(report.controls.rects[kText], kTextRect);
}

TEST(AnchorLayout, StepsAddUpToOneJump) {
    ReportLayout stepped;
    for (int step = 1; step <= 20; ++step) stepped.Resize(kWidth - 37 * step, kHeight + 11 * step);
    ReportLayout jumped;
    jumped.Resize(kWidth - 740, kHeight + 220);
    for (auto a = stepped.layout.Entries().begin(), b = jumped.layout.Entries().begin();
         a != stepped.layout.Entries().end(); ++a, ++b) {
        EXPECT_EQ(a->rect, b->rect) << a->controlId;
    }
}

TEST(AnchorLayout, AnUnchangedSizeMovesNothing) {
    ReportLayout report;
    report.Resize(kWidth, kHeight);
    EXPECT_EQ(report.controls.moves, 0);
    // Only the height changed: the text still gets taller, the buttons move down.
    report.Resize(kWidth, kHeight + 5);
    EXPECT_EQ(report.controls.moves, 3);
}

TEST(AnchorLayout, AMissingControlIsSkippedButTheSizeIsTaken) {
    ReportLayout report;
    report.controls.rects.erase(kSave);
    report.Resize(kWidth + 10, kHeight);
    EXPECT_EQ(report.controls.rects.count(kSave), 0u);
    EXPECT_EQ(std::next(report.layout.Entries().begin())->rect, kSaveRect);
    EXPECT_EQ(report.controls.rects[kClose].left, kCloseRect.left + 10);
    EXPECT_EQ(report.layout.LastWidth(), kWidth + 10);
}

TEST(AnchorLayout, AnEmptyLayoutKeepsItsLastSize) {
    AnchorLayout layout;
    Controls controls;
    layout.Start(100, 50);
    layout.Resize(300, 200, controls);
    EXPECT_EQ(layout.LastWidth(), 100);
    EXPECT_EQ(layout.LastHeight(), 50);
    EXPECT_EQ(layout.Count(), 0u);
}

}  // namespace
}  // namespace hw
