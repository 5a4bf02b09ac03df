// The standard rules without a device: preferred variants, offered standards, source inputs,
// the bounded lock poll on a clock the test steps, and the one-prober guard.
#include "ProbeGuard.h"
#include "StandardRules.h"

#include <dshow.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace media;

TEST(PreferredVariant, FollowsTheUsersChoiceWithinTheFamily)
{
    const struct {
        long detected, ntsc, pal, expected;
        const char* why;
    } cases[] = {
        {0x10, 0, 0x1000, 0x1000, "PAL B with a SECAM B preference is applied as SECAM B"},
        {0x10, 0, 0x20, 0x10, "a PAL preference does not replace a detected PAL standard"},
        {0x1, 0x2, 0, 0x2, "NTSC M with an NTSC M J preference"},
        {0, 0, 0, 0, "an undetected standard with no preference stays undetected"},
        {0, 0x2, 0, 0x2, "an undetected standard takes the NTSC preference"},
        {0x1, 0x10, 0, 0x1, "a 625-line \"NTSC Std\" is no NTSC preference"},
        {0x1, 0, 0x1000, 0x1, "a PAL preference never applies to a 525-line signal"},
        {0x1000, 0, 0x40000, 0x40000, "SECAM B with a SECAM L preference"},
        {0x100000, 0, 0x100, 0x100000, "PAL N COMBO stays with a PAL I preference"},
        {0x800, 0x1, 0x1000, 0x1, "PAL 60 counts as 525-line"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PreferredVariant(c.detected, c.ntsc, c.pal), c.expected) << c.why;
}

TEST(CaptureStandard, Is525LineOnlyForTheNtscFamily)
{
    for (long s : {0x1L, 0x2L, 0x4L, 0x200L, 0x800L})
        EXPECT_EQ(CaptureStandardOf(s), 0) << std::hex << s;
    for (long s : {0x0L, 0x10L, 0x400L, 0x1000L, 0x100000L})
        EXPECT_EQ(CaptureStandardOf(s), 1) << std::hex << s;
}

TEST(SupportedStandards, ListsSingleStandardsOfTheMaskAfterDetect)
{
    EXPECT_EQ(SupportedStandards(0x1 | 0x8 | 0x10 | 0x40 | 0x1000), (std::vector<long>{0, 0x1, 0x10, 0x1000}))
        << "0x8 and 0x40 are never offered";
    EXPECT_EQ(SupportedStandards(0), (std::vector<long>{0}));
    EXPECT_EQ(SupportedStandards(0x7FFFFFFF).size(), 21u - 2u + 1u) << "21 bits up to PAL N COMBO, less two, plus detect";
    EXPECT_EQ(SupportedStandards(0x200000 | 0x400000), (std::vector<long>{0})) << "bits above PAL N COMBO";
    EXPECT_EQ(SupportedStandardsWithoutDecoder(), (std::vector<long>{0, 1, 2}));
    EXPECT_TRUE(IsSingleStandard(0x100000));
    EXPECT_FALSE(IsSingleStandard(0x200000));
    EXPECT_FALSE(IsSingleStandard(0x11));
    EXPECT_FALSE(IsSingleStandard(0));
}

TEST(InputForSource, MapsTheSixSources)
{
    const struct {
        int source;
        bool aux;
        long type;
        int nth;
    } cases[] = {
        {0, false, PhysConn_Video_SVideo, 1},    {1, false, PhysConn_Video_Composite, 1},
        {2, false, PhysConn_Video_Composite, 2}, {2, true, PhysConn_Video_AUX, 1},
        {3, false, PhysConn_Video_Tuner, 1},     {4, true, PhysConn_Video_SVideo, 2},
        {5, false, PhysConn_Video_YRYBY, 1},
    };
    for (const auto& c : cases) {
        SourceInput in;
        ASSERT_TRUE(InputForSource(c.source, c.aux, &in)) << c.source;
        EXPECT_EQ(in.physicalType, c.type) << c.source;
        EXPECT_EQ(in.nth, c.nth) << c.source;
    }
    SourceInput in;
    EXPECT_FALSE(InputForSource(-1, false, &in));
    EXPECT_FALSE(InputForSource(6, false, &in));
    EXPECT_FALSE(InputForSource(0, false, nullptr));
}

namespace {

// A clock the poll advances by its own sleeps, plus what each read costs.
struct FakeClock {
    DWORD now;
    DWORD readCost = 0;
    int sleeps = 0;
    LockPollClock Clock()
    {
        return {[this] { return now; }, [this](DWORD ms) {
                    now += ms;
                    ++sleeps;
                }};
    }
};

}  // namespace

TEST(LockPoll, NeverReadsMoreThanTenTimes)
{
    FakeClock clock{1000};
    int reads = 0;
    const LockPollResult r = PollForLock([&] { ++reads; return false; }, clock.Clock(), clock.now);
    EXPECT_FALSE(r.locked);
    EXPECT_EQ(r.reads, 10);
    EXPECT_EQ(reads, 10);
    EXPECT_EQ(clock.sleeps, 9) << "no sleep after the last read";
}

TEST(LockPoll, StopsAtTheFirstLock)
{
    FakeClock clock{0};
    int reads = 0;
    const LockPollResult r = PollForLock([&] { return ++reads == 4; }, clock.Clock(), 0);
    EXPECT_TRUE(r.locked);
    EXPECT_EQ(r.reads, 4);
    EXPECT_EQ(clock.now, 240u);
}

TEST(LockPoll, EndsAfterEightHundredMillisecondsAcrossEveryBoundary)
{
    // Slow reads: 200 ms each plus the 80 ms sleep. A poll started just before a second (or a
    // minute, or the tick counter's wrap) ends by elapsed time, not by clock fields.
    for (DWORD start : {999u, 59999u, 0xFFFFFF00u}) {
        FakeClock clock{start};
        int reads = 0;
        const LockPollResult r = PollForLock(
            [&] {
                ++reads;
                clock.now += 200;
                return false;
            },
            clock.Clock(), start);
        EXPECT_FALSE(r.locked);
        EXPECT_EQ(r.reads, 4) << "reads end 200, 480 and 760 ms after the start; the one ending at 1040 ms is the last";
        EXPECT_EQ(static_cast<DWORD>(clock.now - start), 1040u) << start;
    }
}

TEST(ProbeGuardTest, OneProberAtATimeAndTeardownWaitsBounded)
{
    ProbeGuard guard;
    ASSERT_TRUE(guard.Enter(0));
    EXPECT_FALSE(guard.Enter(50)) << "a second prober waits and gives up";
    const unsigned before = guard.Generation();

    std::atomic<bool> left{false};
    std::thread prober([&] {
        Sleep(200);
        left = true;
        guard.Leave();
    });
    EXPECT_TRUE(guard.StopProbers(1500)) << "the teardown gets the graph once the probe ends";
    EXPECT_TRUE(left.load());
    EXPECT_NE(guard.Generation(), before) << "probers that started earlier see they must stop";
    prober.join();

    // A prober that never leaves: the teardown gives up after its bound.
    const DWORD start = GetTickCount();
    EXPECT_FALSE(guard.StopProbers(100));
    EXPECT_GE(GetTickCount() - start, 90u);
    guard.Leave();
    ProbeLease lease(guard, 0);
    EXPECT_TRUE(lease.Held());
}
