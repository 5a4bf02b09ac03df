#include "WriterRuns.h"

#include "WriterTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

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
    win::Handle hold(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(hold);
    const std::vector<BYTE> firstData = TestBytes(3000, 1), secondData = TestBytes(25000, 2);
    {
        WriterRuns runs(events);
        ASSERT_TRUE(runs.PrepareRing(1024, 512));
        auto slow = std::make_unique<MemoryRunFile>(512, first);
        slow->holdFinish = &hold;  // this file cannot finish until the test lets it
        ASSERT_TRUE(runs.Start(std::move(slow), kUnlimited, false, shared));
        runs.Put(firstData.data(), firstData.size());
        EXPECT_FALSE(runs.End(10));
        EXPECT_EQ(runs.Lingering(), 1u);
        // Samples after the end go nowhere.
        runs.Put(secondData.data(), 100);

        // The next run is not refused and does not wait for the slow one.
        ASSERT_TRUE(runs.PrepareRing(1024, 512));
        ASSERT_TRUE(runs.Start(std::make_unique<MemoryRunFile>(512, second), kUnlimited, false, shared));
        for (size_t at = 0; at < secondData.size(); at += 1000)
            runs.Put(secondData.data() + at, std::min<size_t>(1000, secondData.size() - at));
        ASSERT_TRUE(runs.End(60000));
        EXPECT_EQ(second, secondData);
        EXPECT_EQ(runs.Lingering(), 1u);

        SetEvent(hold.Get());
        EXPECT_TRUE(runs.Detach(60000));
        EXPECT_EQ(runs.Lingering(), 0u);
        EXPECT_EQ(first, firstData);
    }
}

TEST(WriterRuns, NoRingNoRun)
{
    EventRecorder events;
    std::atomic<uint64_t> shared{0};
    std::vector<BYTE> contents;
    WriterRuns runs(events);
    EXPECT_FALSE(runs.Start(std::make_unique<MemoryRunFile>(512, contents), kUnlimited, false, shared));
    EXPECT_FALSE(runs.PrepareRing(1024, 0));  // no sector to align to
    EXPECT_FALSE(runs.Start(std::make_unique<MemoryRunFile>(512, contents), kUnlimited, false, shared));
    EXPECT_FALSE(runs.Accepting());
    ASSERT_TRUE(runs.PrepareRing(1024, 512));
    ASSERT_TRUE(runs.Start(std::make_unique<MemoryRunFile>(512, contents), kUnlimited, false, shared));
    EXPECT_TRUE(runs.Accepting());
    // The connection may not take the ring away from a run in progress.
    runs.ReleaseRing();
    runs.Put(TestBytes(700, 4).data(), 700);
    ASSERT_TRUE(runs.End(60000));
    EXPECT_EQ(contents, TestBytes(700, 4));
}

TEST(WriterRuns, ASampleHeldAcrossAStopNeverReachesTheNextRun)
{
    // The streaming thread picked its target, then stalled while the run ended and a new one
    // started on the same ring.
    EventRecorder events;
    std::atomic<uint64_t> shared{0};
    std::vector<BYTE> first, second;
    WriterRuns runs(events);
    ASSERT_TRUE(runs.PrepareRing(1024, 512));
    ASSERT_TRUE(runs.Start(std::make_unique<MemoryRunFile>(512, first), kUnlimited, false, shared));
    runs.Put(TestBytes(600, 1).data(), 600);
    const WriterRuns::Target stale = runs.CurrentTarget();
    ASSERT_TRUE(runs.End(60000));
    ASSERT_TRUE(runs.PrepareRing(1024, 512));
    ASSERT_TRUE(runs.Start(std::make_unique<MemoryRunFile>(512, second), kUnlimited, false, shared));
    EXPECT_EQ(runs.CurrentTarget().ring, stale.ring);  // the ring is reused
    runs.Put(stale, TestBytes(300, 2).data(), 300);
    runs.Put(TestBytes(200, 3).data(), 200);
    ASSERT_TRUE(runs.End(60000));
    EXPECT_EQ(first, TestBytes(600, 1));
    EXPECT_EQ(second, TestBytes(200, 3));
}

// Counts what reaches it after it was declared gone.
class WatchedSink final : public WriterEventSink {
public:
    std::atomic<bool> gone{false};
    std::atomic<int> afterGone{0};
    std::atomic<int> seen{0};
    void Notify(long, LONG_PTR, LONG_PTR) override
    {
        ++seen;
        if (gone)
            ++afterGone;
    }
};

TEST(WriterRuns, TeardownWithAStuckWriteIsBoundedAndTheRunOutlivesItsSink)
{
    std::vector<BYTE> contents;
    std::atomic<uint64_t> shared{0};
    std::atomic<bool> finished{false};
    win::Handle unstick(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(unstick);
    WatchedSink sink;
    auto runs = std::make_unique<WriterRuns>(sink);
    ASSERT_TRUE(runs->PrepareRing(1024, 512));
    auto file = std::make_unique<MemoryRunFile>(512, contents);
    file->holdWrite = &unstick;  // the first write hangs, as on a dead share, up to 30 s
    file->finishedFlag = &finished;
    ASSERT_TRUE(runs->Start(std::move(file), kUnlimited, true, shared));

    // More than the ring holds: the producer ends up waiting for room that never comes.
    const std::vector<BYTE> data = TestBytes(40000, 7);
    std::thread producer([&] {
        for (size_t at = 0; at < data.size(); at += 1000)
            runs->Put(data.data() + at, 1000);
    });
    Sleep(200);
    const DWORD start = GetTickCount();
    EXPECT_FALSE(runs->End(1000));
    producer.join();  // let go when the run was given up on
    EXPECT_FALSE(runs->Detach(1000));
    EXPECT_LT(GetTickCount() - start, 10000u);
    runs.reset();
    sink.gone = true;
    const int seenAtTeardown = sink.seen;

    // The write comes back: the run drains what it took and finishes the file by itself,
    // posting nothing to the sink it was cut off from.
    SetEvent(unstick.Get());
    for (int i = 0; i < 1500 && !finished; ++i)
        Sleep(20);
    ASSERT_TRUE(finished);
    EXPECT_GT(contents.size(), 0u);
    EXPECT_LE(contents.size(), data.size());
    EXPECT_TRUE(std::equal(contents.begin(), contents.end(), data.begin()));
    EXPECT_EQ(shared.load(), contents.size());
    EXPECT_EQ(sink.afterGone, 0);
    EXPECT_EQ(sink.seen, seenAtTeardown);
}

TEST(WriterRuns, EventsStopAtDetachAndComeBackForTheNextRun)
{
    EventRecorder events;
    std::atomic<uint64_t> shared{0};
    std::vector<BYTE> contents;
    WriterRuns runs(events);
    ASSERT_TRUE(runs.PrepareRing(1024, 512));
    ASSERT_TRUE(runs.Start(std::make_unique<MemoryRunFile>(512, contents), kUnlimited, false, shared));
    runs.Put(TestBytes(2048, 1).data(), 2048);
    ASSERT_TRUE(runs.Detach(60000));
    EXPECT_FALSE(events.ProgressTotals().empty());
    const size_t seen = events.Events().size();

    ASSERT_TRUE(runs.PrepareRing(1024, 512));
    ASSERT_TRUE(runs.Start(std::make_unique<MemoryRunFile>(512, contents), kUnlimited, false, shared));
    runs.Put(TestBytes(2048, 1).data(), 2048);
    ASSERT_TRUE(runs.End(60000));
    EXPECT_GT(events.Events().size(), seen);
}

// A sink whose posts wait until the test lets them go, as when the system is held up by
// another process.
class HeldSink final : public WriterEventSink {
public:
    win::Handle release{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    EventRecorder passed;
    void Notify(long code, LONG_PTR param1, LONG_PTR param2) override
    {
        WaitForSingleObject(release.Get(), 60000);
        passed.Notify(code, param1, param2);
    }
};

TEST(WriterRuns, AHeldUpEventPostNeverHoldsUpTheWritesAndEveryEventArrivesInOrderByTheEnd)
{
    HeldSink sink;
    ASSERT_TRUE(sink.release);
    std::atomic<uint64_t> shared{0};
    std::vector<BYTE> contents;
    WriterRuns runs(sink);
    ASSERT_TRUE(runs.PrepareRing(1024, 512));
    ASSERT_TRUE(runs.Start(std::make_unique<MemoryRunFile>(512, contents), kUnlimited, false, shared));
    // Three rings' worth: the producer can only finish if the writer keeps writing while the
    // first progress event is still being posted.
    const std::vector<BYTE> block = TestBytes(1 << 20, 9);
    const size_t blocks = 3 * kRingBudget / block.size();
    std::atomic<bool> produced{false};
    std::thread producer([&] {
        for (size_t i = 0; i < blocks; ++i)
            runs.Put(block.data(), block.size());
        produced = true;
    });
    for (int i = 0; i < 3000 && !produced; ++i)
        Sleep(20);
    EXPECT_TRUE(produced);
    SetEvent(sink.release.Get());
    producer.join();
    ASSERT_TRUE(runs.End(60000));

    ASSERT_EQ(contents.size(), blocks * block.size());
    for (size_t i = 0; i < blocks; ++i)
        ASSERT_TRUE(std::equal(block.begin(), block.end(), contents.begin() + i * block.size())) << i;
    // Every write's progress event is there by the end of the run, in the order of the writes.
    const std::vector<uint64_t> totals = sink.passed.ProgressTotals();
    ASSERT_FALSE(totals.empty());
    EXPECT_TRUE(std::is_sorted(totals.begin(), totals.end()));
    EXPECT_EQ(std::adjacent_find(totals.begin(), totals.end()), totals.end());
    EXPECT_EQ(totals.back(), contents.size());
    EXPECT_TRUE(sink.passed.Codes().empty());
}

TEST(EventRelay, EventsPassInTheirOrderAndAFlushOrDetachNeverWaitsForTheGathering)
{
    EventRecorder events;
    auto relay = std::make_shared<EventRelay>(events);
    relay->Notify(EC_WRITER_PROGRESS, 0, 1);  // no thread yet: passed on at once
    EXPECT_EQ(events.ProgressTotals(), std::vector<uint64_t>({1}));
    relay->Start();
    for (LONG_PTR total = 2; total <= 4; ++total)
        relay->Notify(EC_WRITER_PROGRESS, 0, total);
    relay->Notify(EC_WRITER_SIZE_LIMIT, 0, 0);
    relay->Notify(EC_WRITER_PROGRESS, 0, 5);
    ASSERT_TRUE(relay->Flush(60000));
    EXPECT_EQ(events.Codes(true), std::vector<long>({EC_WRITER_PROGRESS, EC_WRITER_PROGRESS, EC_WRITER_PROGRESS,
                                                     EC_WRITER_PROGRESS, EC_WRITER_SIZE_LIMIT, EC_WRITER_PROGRESS}));
    EXPECT_EQ(events.ProgressTotals(), std::vector<uint64_t>({1, 2, 3, 4, 5}));
    relay->Detach();
    relay->Notify(EC_WRITER_WRITE_ERROR, 0, 0);
    EXPECT_TRUE(relay->Flush(0));
    EXPECT_EQ(events.Events().size(), 6u);
}
