// Waiting for a removed device: which poll takes it back, and what resets the count.
#include <gtest/gtest.h>

#include <vector>

#include "ReconnectWatch.h"

namespace {

using shell::PresentDevice;
using shell::ReconnectWatch;

constexpr char kOtherPath[] = "\\\\?\\root#media#0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\capture";
const PresentDevice kOther{kOtherPath, "Other Card"};
const PresentDevice kLostBack{"\\\\?\\root#media#0001#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\capture", "Lost Card"};
const PresentDevice kNewcomer{"\\\\?\\usb#vid_1234#5#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\capture", "Third Card"};

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
         {{PresentDevice{kOtherPath, "Lost Card"}}, {PresentDevice{kOtherPath, "Lost Card"}}, {PresentDevice{kOtherPath, "Lost Card"}},
          {PresentDevice{kOtherPath, "Lost Card"}}, {PresentDevice{kOtherPath, "Lost Card"}}, {PresentDevice{kOtherPath, "Lost Card"}},
          {PresentDevice{kOtherPath, "Lost Card"}}, {PresentDevice{kOtherPath, "Lost Card"}}, {PresentDevice{kOtherPath, "Lost Card"}},
          {PresentDevice{kOtherPath, "Lost Card"}}},
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

TEST(ReconnectWatch, TheCardPluggedInAgainUnderAnotherDeviceNodeIsTheLostOne)
{
    ReconnectWatch watch({}, "Lost Card (DevNode:0)");
    const PresentDevice another{"\\\\?\\root#media#0000#{x}\\capture", "Lost Card #2 (DevNode:0)"};
    const PresentDevice back{"\\\\?\\root#media#0001#{x}\\capture", "Lost Card (DevNode:1)"};
    std::optional<std::size_t> taken;
    for (int poll = 0; poll < 10; ++poll)
        taken = watch.Poll({another, back});
    ASSERT_TRUE(taken);
    EXPECT_EQ(*taken, 1u);

    const struct {
        const char* display;
        const char* name;
    } names[] = {
        {"TV Card (DevNode:2C)", "TV Card"},
        {"TV Card (USB:1A)", "TV Card"},
        {"TV Card (PCI Slot 3)", "TV Card"},
        {"TV Card (Rev. 2)", "TV Card (Rev. 2)"},
        {"TV Card (Rev. 2) (USB:4)", "TV Card (Rev. 2)"},
        {"TV Card", "TV Card"},
        {"", ""},
    };
    for (const auto& n : names)
        EXPECT_EQ(shell::WithoutPlace(n.display), n.name) << n.display;
}

}  // namespace
