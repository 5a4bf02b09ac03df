// Where a vertically centred edit puts its line of text.
#include <gtest/gtest.h>

#include "EditTextBand.h"

using skelda::controls::CentredTextBand;

TEST(EditTextBand, TheSpareHeightIsSplitAboveAndBelowTheLine)
{
    const auto band = CentredTextBand(2, 38, 16);
    EXPECT_EQ(12, band.top);
    EXPECT_EQ(28, band.bottom);
    // The odd pixel goes below, as a centred static's text sits.
    const auto odd = CentredTextBand(0, 21, 16);
    EXPECT_EQ(2, odd.top);
    EXPECT_EQ(18, odd.bottom);
}

TEST(EditTextBand, ALineThatDoesNotFitOrHasNoHeightKeepsTheWholeArea)
{
    for (int height : {16, 20, 0, -3}) {
        const auto band = CentredTextBand(5, 21, height);
        EXPECT_EQ(5, band.top) << height;
        EXPECT_EQ(21, band.bottom) << height;
    }
    const auto empty = CentredTextBand(10, 10, 13);
    EXPECT_EQ(10, empty.top);
    EXPECT_EQ(10, empty.bottom);
}
