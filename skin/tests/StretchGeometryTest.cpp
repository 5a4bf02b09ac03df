// Stretch arithmetic: the nine-part cut, the composite plan and dragging within the limits.
#include <gtest/gtest.h>

#include "StretchGeometry.h"

using namespace skelda;

namespace {

void ExpectRect(const RECT& r, int left, int top, int right, int bottom)
{
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

const StretchOffsets kOffsets{10, 12, 8, 6};  // L, R, T, B

}  // namespace

TEST(StretchGeometry, CopyRectanglesForAGivenBackground)
{
    const auto r = ComputeCopyRects(100, 60, kOffsets);
    ExpectRect(r.centre, 11, 9, 88, 54);
    ExpectRect(r.topLeft, 0, 0, 10, 8);
    ExpectRect(r.topRight, 88, 0, 100, 8);
    ExpectRect(r.bottomLeft, 0, 54, 10, 60);
    ExpectRect(r.bottomRight, 88, 54, 100, 60);
    ExpectRect(r.leftEdge, 0, 9, 10, 54);
    ExpectRect(r.rightEdge, 88, 9, 100, 54);
    ExpectRect(r.topEdge, 10, 0, 88, 8);
    ExpectRect(r.bottomEdge, 10, 54, 88, 60);
}

TEST(StretchGeometry, CompositeTilesTheCentreAndEdgesAndPutsTheCornersLast)
{
    const auto rects = ComputeCopyRects(100, 60, kOffsets);  // centre 77 x 45
    const int width = 250, height = 130;
    const auto copies = PlanComposite(rects, kOffsets, width, height);
    const int nx = (250 - 12 - 10) / 77 + 1, ny = (130 - 6 - 8) / 45 + 1;  // 3 and 3
    ASSERT_EQ(nx, 3);
    ASSERT_EQ(ny, 3);
    ASSERT_EQ(copies.size(), static_cast<size_t>(nx * ny + 2 * nx + 2 * ny + 4));
    // Centre tiles from (L, T) in steps of the centre's size, row by row.
    EXPECT_EQ(copies[0].x, 10);
    EXPECT_EQ(copies[0].y, 8);
    EXPECT_EQ(copies[1].x, 10 + 77);
    EXPECT_EQ(copies[3].y, 8 + 45);
    // Top and bottom edges in steps of their own width; the bottom one at Y - B.
    const auto& top1 = copies[static_cast<size_t>(nx * ny + 2)];
    EXPECT_TRUE(EqualRect(&top1.source, &rects.topEdge));
    EXPECT_EQ(top1.x, 10 + 78);
    EXPECT_EQ(top1.y, 0);
    const auto& bottom0 = copies[static_cast<size_t>(nx * ny + 1)];
    EXPECT_TRUE(EqualRect(&bottom0.source, &rects.bottomEdge));
    EXPECT_EQ(bottom0.y, height - 6);
    // Right edge at X - R, in steps of the centre's height.
    const auto& right1 = copies[static_cast<size_t>(nx * ny + 2 * nx + 3)];
    EXPECT_TRUE(EqualRect(&right1.source, &rects.rightEdge));
    EXPECT_EQ(right1.x, width - 12);
    EXPECT_EQ(right1.y, 8 + 45);
    // The corners come last, unchanged, at the four corners of the new size.
    const size_t n = copies.size();
    EXPECT_TRUE(EqualRect(&copies[n - 4].source, &rects.topLeft));
    EXPECT_EQ(copies[n - 3].x, width - 12);
    EXPECT_EQ(copies[n - 3].y, 0);
    EXPECT_EQ(copies[n - 2].y, height - 6);
    EXPECT_EQ(copies[n - 1].x, width - 12);
    EXPECT_EQ(copies[n - 1].y, height - 6);
}

TEST(StretchGeometry, CompositeOfTheOriginalSizeAndOfADegenerateCut)
{
    const auto rects = ComputeCopyRects(100, 60, kOffsets);
    EXPECT_EQ(PlanComposite(rects, kOffsets, 100, 60).size(), static_cast<size_t>(4 + 4 + 4 + 4));
    const StretchOffsets wide{50, 50, 8, 6};
    EXPECT_TRUE(PlanComposite(ComputeCopyRects(100, 60, wide), wide, 200, 60).empty())
        << "no centre part to tile";
}

TEST(StretchGeometry, DraggingMovesTheNamedEdgesOnly)
{
    const RECT start{100, 100, 300, 250};
    const StretchLimits limits{true, true, 150, 400, 100, 300};
    ExpectRect(DragStretchRect(start, kEdgeRight, 40, 25, limits), 100, 100, 340, 250);
    ExpectRect(DragStretchRect(start, kEdgeRight | kEdgeBottom, 40, 25, limits), 100, 100, 340, 275);
    ExpectRect(DragStretchRect(start, kEdgeLeft | kEdgeTop, -20, -10, limits), 80, 90, 300, 250);
    const StretchLimits horizontalOnly{true, false, 150, 400, 100, 300};
    ExpectRect(DragStretchRect(start, kEdgeRight | kEdgeBottom, 40, 25, horizontalOnly), 100, 100, 340, 250);
}

TEST(StretchGeometry, DraggingBelowTheMinimumKeepsTheOppositeEdge)
{
    const RECT start{100, 100, 300, 250};
    const StretchLimits limits{true, true, 150, 400, 100, 300};
    ExpectRect(DragStretchRect(start, kEdgeRight, -120, 0, limits), 100, 100, 250, 250);
    ExpectRect(DragStretchRect(start, kEdgeLeft, 120, 0, limits), 150, 100, 300, 250);
    ExpectRect(DragStretchRect(start, kEdgeTop, 0, 200, limits), 100, 150, 300, 250);
    ExpectRect(DragStretchRect(start, kEdgeRight | kEdgeBottom, 500, 500, limits), 100, 100, 500, 400);
}

TEST(StretchGeometry, AutomaticStepsReachTheTargetAndStop)
{
    RECT rect{0, 0, 100, 80};
    bool done = false;
    int steps = 0;
    while (!done && steps < 100) {
        rect = StepStretchRect(rect, kEdgeRight | kEdgeBottom, 15, 160, 50, &done);
        ++steps;
    }
    EXPECT_TRUE(done);
    EXPECT_EQ(steps, 4) << "60 pixels of width at 15 per step";
    ExpectRect(rect, 0, 0, 160, 50);
    rect = StepStretchRect(RECT{0, 0, 100, 80}, kEdgeLeft, 30, 50, 999, &done);
    ExpectRect(rect, 30, 0, 100, 80);
    EXPECT_FALSE(done);
}

TEST(StretchGeometry, ValuesMakeSenseOnlyWithMaximumAboveMinimumAndTheBeginningBetween)
{
    EXPECT_TRUE(StretchValuesValid({true, true, 100, 400, 50, 300}, 200, 100));
    EXPECT_FALSE(StretchValuesValid({true, false, 400, 100, 0, 0}, 200, 0));
    EXPECT_FALSE(StretchValuesValid({true, false, 100, 400, 0, 0}, 401, 0));
    EXPECT_FALSE(StretchValuesValid({false, true, 0, 0, 50, 300}, 0, 20));
    EXPECT_TRUE(StretchValuesValid({false, false, 0, 0, 0, 0}, 0, 0)) << "nothing to stretch";
}
