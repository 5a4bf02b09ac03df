#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChannelKeypad.h"
#include "ChannelNavigation.h"

using namespace tuner;

namespace {

using Next = ChannelKeypad::Next;
constexpr Next T = Next::RestartTimer;
constexpr Next C = Next::CommitNow;

}  // namespace

TEST(ChannelKeypad, TypedDigitsCommitAtOnceOrAfterTheTimer)
{
    struct Case {
        const char* keys;
        int maximum;
        std::vector<Next> next;
        const char* display;
        int tuned;  // previous channel is 4
    };
    const Case cases[] = {
        {"007", 69, {T, T, C}, "7", 7},
        {"07", 69, {T, C}, "7", 7},
        {"12", 69, {T, T}, "12", 12},
        {"999", 69, {T, T, C}, "999", 4},
        {"70", 69, {T, T}, "70", 4},
        {"0", 69, {T}, "0", 4},
        {"000", 69, {T, T, T}, "0", 4},
        {"125", 199, {T, T, T}, "125", 125},
        {"1234", 199, {T, T, T, C}, "234", 4},
        {"100", 199, {T, T, T}, "100", 100},
        {"5", 69, {T}, "5", 5},
        {"250", 500, {T, T, C}, "250", 4},
        {"199", 500, {T, T, T}, "199", 199},
    };
    for (const Case& c : cases) {
        const ChannelRange range{2, c.maximum};
        ChannelKeypad keypad;
        std::vector<Next> next;
        for (const char* key = c.keys; *key; ++key)
            next.push_back(keypad.PressDigit(*key, range));
        EXPECT_EQ(next, c.next) << c.keys;
        EXPECT_EQ(keypad.Display(), c.display) << c.keys;
        EXPECT_EQ(keypad.Commit(4, range), c.tuned) << c.keys;
        EXPECT_TRUE(keypad.Idle()) << c.keys;
        EXPECT_EQ(keypad.Display(), "") << c.keys;
    }
}

TEST(ChannelKeypad, IdleStateIsNotATypedZeroAndNonDigitsChangeNothing)
{
    const ChannelRange range;
    ChannelKeypad keypad;
    EXPECT_TRUE(keypad.Idle());
    EXPECT_EQ(keypad.PressDigit('x', range), Next::Ignored);
    EXPECT_TRUE(keypad.Idle());
    EXPECT_EQ(keypad.Commit(9, range), 9);
    // After a commit a fresh "1" must not read as "01".
    EXPECT_EQ(keypad.PressDigit('1', range), Next::RestartTimer);
    EXPECT_EQ(keypad.Display(), "1");
}

TEST(ChannelStepping, NamedChannelsNumericStepsAndBounds)
{
    ChannelList named = EmptyChannelList();
    for (int channel : {4, 9, 33})
        named[channel].name = "n";
    ChannelList outside = EmptyChannelList();
    for (int channel : {100, 150})
        outside[channel].name = "far";
    ChannelList high = EmptyChannelList();
    high[199].name = "top";
    const ChannelList none = EmptyChannelList();

    struct Case {
        const char* what;
        const ChannelList& list;
        ChannelRange range;
        int current;
        int step;
        int expected;
    };
    const Case cases[] = {
        {"up from the maximum wraps to the lowest named", named, {2, 69}, 69, +1, 4},
        {"up to the next named", named, {2, 69}, 9, +1, 33},
        {"up from the highest named wraps", named, {2, 69}, 33, +1, 4},
        {"down from the lowest named wraps", named, {2, 69}, 4, -1, 33},
        {"down from an unnamed channel", named, {2, 69}, 20, -1, 9},
        {"no names: numeric up", none, {2, 69}, 10, +1, 11},
        {"no names: up wraps to the minimum", none, {2, 69}, 69, +1, 2},
        {"no names: down wraps to the maximum", none, {2, 69}, 2, -1, 69},
        {"names all out of range: numeric, no endless search", outside, {2, 69}, 69, +1, 2},
        {"names all out of range: numeric down", outside, {2, 69}, 5, -1, 4},
        {"range above the lists is capped", high, {2, 500}, 150, +1, 199},
        {"capped range wraps from 199", high, {2, 500}, 199, +1, 199},
        {"capped numeric wraps from 199", none, {2, 500}, 199, +1, 2},
        {"current outside the range", none, {2, 69}, 150, +1, 2},
        {"empty range leaves the channel", none, {70, 60}, 65, +1, 65},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StepChannel(c.list, c.current, c.step, c.range), c.expected) << c.what;
}

TEST(FineTune, StepsStopAtTheLimitsAndFrequencyIsBasePlusSteps)
{
    EXPECT_EQ(StepFineTune(49, +1), 50);
    EXPECT_FALSE(StepFineTune(50, +1).has_value());
    EXPECT_FALSE(StepFineTune(-50, -1).has_value());
    EXPECT_EQ(StepFineTune(0, -1), -1);
    EXPECT_EQ(ClampFineTune(500), 50);
    EXPECT_EQ(ClampFineTune(-51), -50);

    EXPECT_EQ(FineTunedFrequency(55250000, 7, 62500), 55687500u);
    EXPECT_EQ(FineTunedFrequency(55250000, -50, 62500), 52125000u);
    EXPECT_EQ(FineTunedFrequency(55250000, 0, 62500), 55250000u);
    EXPECT_EQ(FineTunedFrequency(1000, -50, 62500), 0u);
    EXPECT_EQ(FineTunedFrequency(0xFFFFFF00u, 50, 62500), 0xFFFFFFFFu);
}

TEST(ChannelRange, DefaultsToTwoTo69AndCapsListIndexes)
{
    const ChannelRange range;
    EXPECT_EQ(range.minimum, 2);
    EXPECT_EQ(range.maximum, 69);
    EXPECT_EQ((ChannelRange{1, 500}.ListMaximum()), kHighestListChannel);
    EXPECT_EQ((ChannelRange{-3, 125}.ListMinimum()), 0);
}
