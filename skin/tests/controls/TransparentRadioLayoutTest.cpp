// Where a transparent radio button puts its mark and its text.
#include <gtest/gtest.h>

#include "TransparentRadioLayout.h"

using namespace skelda::controls;

TEST(TransparentRadioLayout, MarkLeftTextLeftFollowsTheMarkAfterTheGap)
{
    const RadioLayout l = LayoutTransparentRadio({100, 20}, {13, 13}, {30, 12}, true, true);
    EXPECT_EQ(l.mark.left, 0);
    EXPECT_EQ(l.mark.right, 13);
    EXPECT_EQ(l.mark.top, 3) << "centred vertically";
    EXPECT_EQ(l.mark.bottom, 16);
    EXPECT_EQ(l.text.x, 13 + kRadioMarkGap);
    EXPECT_EQ(l.text.y, 4);
}

TEST(TransparentRadioLayout, MarkRightTextRightEndsBeforeTheGap)
{
    const RadioLayout l = LayoutTransparentRadio({100, 20}, {10, 10}, {30, 12}, false, false);
    EXPECT_EQ(l.mark.left, 90);
    EXPECT_EQ(l.mark.right, 100);
    EXPECT_EQ(l.mark.top, 5);
    EXPECT_EQ(l.text.x + 30, 100 - 10 - kRadioMarkGap);
}

TEST(TransparentRadioLayout, MixedJustifications)
{
    // Mark at the left, text at the far right edge.
    RadioLayout l = LayoutTransparentRadio({100, 20}, {13, 13}, {30, 12}, true, false);
    EXPECT_EQ(l.text.x, 70);
    // Mark at the right, text at the left edge.
    l = LayoutTransparentRadio({100, 20}, {13, 13}, {30, 12}, false, true);
    EXPECT_EQ(l.text.x, 0);
    EXPECT_EQ(l.mark.left, 87);
}

TEST(TransparentRadioLayout, TooWideTextKeepsItsBeginningAndTallMarksOverhang)
{
    const RadioLayout l = LayoutTransparentRadio({60, 20}, {13, 13}, {200, 12}, true, false);
    EXPECT_EQ(l.text.x, 13 + kRadioMarkGap) << "right-aligned text wider than its area starts at the area";
    const RadioLayout tall = LayoutTransparentRadio({60, 10}, {16, 16}, {20, 12}, true, true);
    EXPECT_EQ(tall.mark.top, -3);
    EXPECT_EQ(tall.text.y, -1);
}

TEST(TransparentRadioLayout, DrawnMarkNeverTallerThanTheButton)
{
    EXPECT_EQ(DrawnRadioMarkSide(20), kDrawnRadioMarkSize);
    EXPECT_EQ(DrawnRadioMarkSide(8), 8);
    EXPECT_EQ(DrawnRadioMarkSide(0), 0);
    EXPECT_EQ(DrawnRadioMarkSide(-5), 0);
}
