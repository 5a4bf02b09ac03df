// Learning the remote's address: the key "0" within 5 seconds with an address a remote may
// have, a wrong address, no key, and every way of closing the dialog.
#include <gtest/gtest.h>

#include "RemoteLearning.h"

using namespace remote;

namespace {

// Ticks until the learning ends; -1 when it never does within `limit` ticks.
int TicksUntilDone(RemoteLearning& l, RemoteLearning::Tick* result, int limit = 200)
{
    for (int n = 1; n <= limit; ++n) {
        *result = l.OnTick();
        if (*result != RemoteLearning::Tick::Waiting)
            return n;
    }
    return -1;
}

}  // namespace

TEST(RemoteAddresses, OnlyTheEightSingleClearedBitAddressesAndAllOnes)
{
    int valid = 0;
    for (int a = 0; a < 256; ++a)
        valid += IsValidAddress(a) ? 1 : 0;
    EXPECT_EQ(valid, 8);
    EXPECT_TRUE(IsValidAddress(0xFE));
    EXPECT_TRUE(IsValidAddress(0xFF));
    EXPECT_TRUE(IsValidAddress(0xBF));
    EXPECT_FALSE(IsValidAddress(0x7F)) << "its one cleared bit is not among the eight";
    EXPECT_FALSE(IsValidAddress(0));
    EXPECT_EQ(StatusTextFor(0xFD), 3006);
    EXPECT_EQ(StatusTextFor(0x7F), 3007);
    EXPECT_EQ(StatusTextFor(0), 3007);
}

TEST(RemoteLearning, TheKeyZeroWithAValidAddressIsLearnedAndKeptOnOk)
{
    RemoteLearning l(0xFF);
    EXPECT_FALSE(l.OnKey('0', 0xFE)) << "not learning: the key is the program's";
    l.Open();
    EXPECT_TRUE(l.Learning());
    EXPECT_FALSE(l.OnKey('0', 0xFE)) << "not yet waiting";
    l.StartWaiting();
    EXPECT_EQ(l.OnTick(), RemoteLearning::Tick::Waiting);
    EXPECT_FALSE(l.OnKey('5', 0xFE)) << "only the key 0 counts";
    EXPECT_TRUE(l.OnKey('0', 0xFE));
    EXPECT_FALSE(l.Waiting());
    RemoteLearning::Tick result{};
    EXPECT_EQ(TicksUntilDone(l, &result), 1);
    EXPECT_EQ(result, RemoteLearning::Tick::Succeeded);
    EXPECT_EQ(l.Learned(), 0xFE);
    EXPECT_EQ(l.Address(), 0xFF) << "not yet confirmed";
    l.Close(true);
    EXPECT_EQ(l.Address(), 0xFE);
    EXPECT_FALSE(l.Learning());
}

TEST(RemoteLearning, AWrongAddressOrNoKeyFails)
{
    {
        SCOPED_TRACE("address 0x7F");
        RemoteLearning l(0xFB);
        l.Open();
        l.StartWaiting();
        EXPECT_TRUE(l.OnKey('0', 0x7F));
        RemoteLearning::Tick result{};
        EXPECT_EQ(TicksUntilDone(l, &result), 1);
        EXPECT_EQ(result, RemoteLearning::Tick::Failed);
        l.Close(true);
        EXPECT_EQ(l.Address(), 0xFB) << "OK after a failure keeps the old address";
    }
    {
        SCOPED_TRACE("no key");
        RemoteLearning l(0);
        l.Open();
        l.StartWaiting();
        RemoteLearning::Tick result{};
        EXPECT_EQ(TicksUntilDone(l, &result), kWaitTicks) << "five seconds of 100 ms ticks";
        EXPECT_EQ(result, RemoteLearning::Tick::Failed);
        EXPECT_FALSE(l.Waiting());
        EXPECT_FALSE(l.OnKey('0', 0xFE)) << "a late key is not taken";
    }
}

TEST(RemoteLearning, EveryCloseClearsBothFlagsAndCancelKeepsTheOldAddress)
{
    struct Case {
        const char* name;
        bool learnFirst;
        bool keep;
        int expected;
    } cases[] = {
        {"cancel while waiting", false, false, 0xEF},
        {"cancel after learning", true, false, 0xEF},
        {"ok while waiting", false, true, 0xEF},
        {"ok after learning", true, true, 0xFD},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RemoteLearning l(0xEF);
        l.Open();
        l.StartWaiting();
        if (c.learnFirst) {
            l.OnKey('0', 0xFD);
            l.OnTick();
            l.StartWaiting();
        }
        l.Close(c.keep);
        EXPECT_FALSE(l.Learning());
        EXPECT_FALSE(l.Waiting());
        EXPECT_EQ(l.Address(), c.expected);
        EXPECT_FALSE(l.OnKey('0', 0xFE)) << "the next key 0 is the program's again";
        l.StartWaiting();
        EXPECT_FALSE(l.Waiting()) << "a stray timer tick after closing starts nothing";
    }
}
