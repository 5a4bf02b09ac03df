#include "WriterRuns.h"

#include "WriterTestSupport.h"

#include <gtest/gtest.h>

using namespace scrivet;
using namespace scrivet::test;

namespace {

constexpr WriteLimit kUnlimited{INT64_MAX, LimitReason::FreeSpace};

}  // namespace

TEST(WriterRuns, SlowRunKeepsItsDataAndTheNextRunStartsOnItsOwnRing)
{
    EventRecorder events;
    std::atomic<uint64_t> shared{0};
    std::vector<BYTE> first, second;
    HANDLE hold = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(hold, nullptr);
    const std::vector<BYTE> firstData = TestBytes(3000, 1), secondData = TestBytes(25000, 2);
    {
        WriterRuns runs;
        ASSERT_TRUE(runs.PrepareRing(1024, 512));
        auto slow = std::make_unique<MemoryRunFile>(512, first);
        slow->holdFinish = hold;  // this file cannot finish until the test lets it
        ASSERT_TRUE(runs.Start(std::move(slow), kUnlimited, false, events, shared));
        runs.Put(firstData.data(), firstData.size());
        EXPECT_FALSE(runs.End(10));
        EXPECT_EQ(runs.Lingering(), 1u);
        // Samples after the end go nowhere.
        runs.Put(secondData.data(), 100);

        // The next run is not refused and does not wait for the slow one.
        ASSERT_TRUE(runs.PrepareRing(1024, 512));
        ASSERT_TRUE(runs.Start(std::make_unique<MemoryRunFile>(512, second), kUnlimited, false, events, shared));
        for (size_t at = 0; at < secondData.size(); at += 1000)
            runs.Put(secondData.data() + at, std::min<size_t>(1000, secondData.size() - at));
        ASSERT_TRUE(runs.End(60000));
        EXPECT_EQ(second, secondData);
        EXPECT_EQ(runs.Lingering(), 1u);

        SetEvent(hold);
        runs.WaitForAll();
        EXPECT_EQ(runs.Lingering(), 0u);
        EXPECT_EQ(first, firstData);
    }
    CloseHandle(hold);
}

TEST(WriterRuns, NoRingNoRun)
{
    EventRecorder events;
    std::atomic<uint64_t> shared{0};
    std::vector<BYTE> contents;
    WriterRuns runs;
    EXPECT_FALSE(runs.Start(std::make_unique<MemoryRunFile>(512, contents), kUnlimited, false, events, shared));
    EXPECT_FALSE(runs.PrepareRing(40, 512));  // rounds to nothing
    EXPECT_FALSE(runs.Start(std::make_unique<MemoryRunFile>(512, contents), kUnlimited, false, events, shared));
    EXPECT_FALSE(runs.Accepting());
    ASSERT_TRUE(runs.PrepareRing(1024, 512));
    ASSERT_TRUE(runs.Start(std::make_unique<MemoryRunFile>(512, contents), kUnlimited, false, events, shared));
    EXPECT_TRUE(runs.Accepting());
    // The connection may not take the ring away from a run in progress.
    runs.ReleaseRing();
    runs.Put(TestBytes(700, 4).data(), 700);
    ASSERT_TRUE(runs.End(60000));
    EXPECT_EQ(contents, TestBytes(700, 4));
}
