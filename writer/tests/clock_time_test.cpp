#include "ClockTime.h"

#include <gtest/gtest.h>

using scrivet::ClockTime;

TEST(ClockTime, StartsAtTheCreationTickAndMovesOnlyWhenAdvanced)
{
    ClockTime clock(1234);
    EXPECT_EQ(clock.Time(), 12340000);
    EXPECT_EQ(clock.Time(), 12340000);
    clock.Advance(1300);
    EXPECT_EQ(clock.Time(), 13000000);
    clock.Advance(1300);
    EXPECT_EQ(clock.Time(), 13000000);
}

TEST(ClockTime, CrossesTheTickWrap)
{
    ClockTime clock(0xFFFFFFF0u);
    const int64_t start = clock.Time();
    EXPECT_EQ(start, int64_t{0xFFFFFFF0} * 10000);
    clock.Advance(0x10);
    EXPECT_EQ(clock.Time() - start, 0x20 * 10000);
}
