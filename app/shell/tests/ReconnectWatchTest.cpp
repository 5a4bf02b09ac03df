// Waiting for a removed device: which poll takes it back, and what resets the count.
#include <gtest/gtest.h>

#include <vector>

#include "ReconnectWatch.h"

namespace {

using shell::PresentDevice;
using shell::ReconnectWatch;

const PresentDevice kOther{11, "Other Card"};
const PresentDevice kLostBack{42, "Lost Card"};
const PresentDevice kNewcomer{77, "Third Card"};

TEST(ReconnectWatch, TheLostDeviceIsTakenOnItsTenthPollInARow)
{
    ReconnectWatch watch({kOther}, "Lost Card");
    for (int poll = 1; poll < 10; ++poll)
        EXPECT_FALSE(watch.Poll({kOther, kLostBack})) << "poll " << poll;
    const auto taken = watch.Poll({kOther, kLostBack});
    ASSERT_TRUE(taken);
    EXPECT_EQ(*taken, 1u);
}

TEST(ReconnectWatch, GapsAndOtherNewDevicesStartTheCountAgain)
{
    const struct {
        const char* name;
        std::vector<std::vector<PresentDevice>> polls;  // the last poll's answer is checked
        bool taken;
    } cases[] = {
        {"a poll without it starts again",
         {{kLostBack}, {kLostBack}, {kLostBack}, {kLostBack}, {kLostBack}, {}, {kLostBack}, {kLostBack}, {kLostBack},
          {kLostBack}, {kLostBack}},
         false},
        {"another new device joins the known ones and starts again",
         {{kLostBack}, {kLostBack}, {kLostBack}, {kLostBack, kNewcomer}, {kLostBack, kNewcomer}, {kLostBack, kNewcomer},
          {kLostBack, kNewcomer}, {kLostBack, kNewcomer}, {kLostBack, kNewcomer}, {kLostBack, kNewcomer}},
         false},
        {"a device of the known list with the lost name is not the lost one",
         {{PresentDevice{11, "Lost Card"}}, {PresentDevice{11, "Lost Card"}}, {PresentDevice{11, "Lost Card"}},
          {PresentDevice{11, "Lost Card"}}, {PresentDevice{11, "Lost Card"}}, {PresentDevice{11, "Lost Card"}},
          {PresentDevice{11, "Lost Card"}}, {PresentDevice{11, "Lost Card"}}, {PresentDevice{11, "Lost Card"}},
          {PresentDevice{11, "Lost Card"}}},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReconnectWatch watch({kOther}, "Lost Card");
        std::optional<std::size_t> last;
        for (const auto& poll : c.polls)
            last = watch.Poll(poll);
        EXPECT_EQ(last.has_value(), c.taken);
    }
    // After a newcomer, ten more polls with the lost device take it.
    ReconnectWatch watch({kOther}, "Lost Card");
    watch.Poll({kLostBack, kNewcomer});
    int polls = 0;
    std::optional<std::size_t> taken;
    while (!taken && polls < 20) {
        taken = watch.Poll({kNewcomer, kLostBack});
        ++polls;
    }
    EXPECT_EQ(polls, 9) << "the newcomer's poll counted as the first";
    ASSERT_TRUE(taken);
    EXPECT_EQ(*taken, 1u);
}

}  // namespace
