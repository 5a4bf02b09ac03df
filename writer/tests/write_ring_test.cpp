#include "WriteRing.h"

#include "RingMemory.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using scrivet::WriteRing;

TEST(WriteRing, CapacityIsTenBuffersInWholeSectorsOfPageAlignedMemory)
{
    WriteRing ring;
    ASSERT_TRUE(ring.Allocate(1000, 512));
    EXPECT_EQ(ring.Capacity(), 9728u);
    ASSERT_TRUE(ring.Allocate(65536, 4096));
    EXPECT_EQ(ring.Capacity(), 655360u);
    ring.Reset();
    ASSERT_TRUE(ring.Put(reinterpret_cast<const BYTE*>("x"), 1));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(ring.Take(false).data) % 4096, 0u);
}

TEST(WriteRing, AWritersRingHoldsSecondsOfAFastStreamWhateverItsBuffers)
{
    const struct {
        uint32_t buffer;
        uint64_t ring;
    } cases[] = {{0, scrivet::kRingBudget},
                 {188, scrivet::kRingBudget},
                 {16384, scrivet::kRingBudget},
                 {65536, scrivet::kRingBudget},
                 {1 << 20, 10u << 20},  // ten buffers are more than the budget
                 {0xFFFFFFFF, 0xFFFFFFFFull * 10}};
    for (const auto& c : cases)
        EXPECT_EQ(scrivet::RingBytesFor(c.buffer), c.ring) << c.buffer;
    // 15 Mbit/s for four seconds fit.
    EXPECT_GE(scrivet::kRingBudget, 15000000u / 8 * 4);
    WriteRing ring;
    ASSERT_TRUE(ring.AllocateBytes(scrivet::RingBytesFor(16384), 4096));
    EXPECT_EQ(ring.Capacity(), scrivet::kRingBudget);
    ASSERT_TRUE(ring.AllocateBytes(10000, 512));
    EXPECT_EQ(ring.Capacity(), 9728u);
    EXPECT_FALSE(ring.AllocateBytes(scrivet::RingBytesFor(0xFFFFFFFF), 512));  // past 4 GiB
}

TEST(RingMemory, AReleasedBlockServesTheNextRingOfItsSizeAndOnlyOne)
{
    // A size no other test's ring has, and fresh memory holds zeros: a marked byte shows
    // which block came back.
    const size_t size = (3u << 20) + 3 * 4096;
    BYTE* first = scrivet::TakeRingMemory(size);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(first) % 4096, 0u);
    first[0] = 0xA5;
    first[size - 1] = 0x5A;
    scrivet::GiveBackRingMemory(first, size);
    BYTE* otherSize = scrivet::TakeRingMemory(size - 4096);
    BYTE* again = scrivet::TakeRingMemory(size);
    BYTE* fresh = scrivet::TakeRingMemory(size);
    ASSERT_TRUE(otherSize && again && fresh);
    EXPECT_EQ(otherSize[0], 0);
    EXPECT_EQ(again[0], 0xA5);
    EXPECT_EQ(again[size - 1], 0x5A);
    EXPECT_EQ(fresh[0], 0) << "one block is kept, and it went to the ring before";
    // The block given back last is the one kept.
    fresh[0] = 0x77;
    scrivet::GiveBackRingMemory(again, size);
    scrivet::GiveBackRingMemory(fresh, size);
    BYTE* kept = scrivet::TakeRingMemory(size);
    EXPECT_EQ(kept[0], 0x77);
    scrivet::GiveBackRingMemory(kept, size);
    scrivet::GiveBackRingMemory(otherSize, size - 4096);

    // A block larger than the ones worth keeping goes back to the system.
    const size_t large = scrivet::kLargestKeptRing + 4096;
    BYTE* big = scrivet::TakeRingMemory(large);
    ASSERT_NE(big, nullptr);
    big[0] = 1;
    scrivet::GiveBackRingMemory(big, large);
    BYTE* bigAgain = scrivet::TakeRingMemory(large);
    ASSERT_NE(bigAgain, nullptr);
    EXPECT_EQ(bigAgain[0], 0);
    scrivet::GiveBackRingMemory(bigAgain, large);
}

TEST(WriteRing, RingThatRoundsToNothingIsRefused)
{
    WriteRing ring;
    EXPECT_FALSE(ring.Allocate(40, 512));
    EXPECT_FALSE(ring.Allocated());
    EXPECT_FALSE(ring.Allocate(0, 512));
    EXPECT_FALSE(ring.Allocate(1000, 0));
    // Far more than the address space can commit.
    EXPECT_FALSE(ring.Allocate(0x7FFFFFFF, 512));
    // Without memory the ring takes nothing rather than copying into nowhere.
    ring.Reset();
    EXPECT_FALSE(ring.Put(reinterpret_cast<const BYTE*>("abc"), 3));
}

TEST(WriteRing, AlignedTakesAreWholeSectorsAndWrapAtTheEnd)
{
    WriteRing ring;
    ASSERT_TRUE(ring.Allocate(512, 512));  // 5120 bytes
    ring.Reset();
    std::vector<BYTE> data(4000, 7);
    ASSERT_TRUE(ring.Put(data.data(), data.size()));
    WriteRing::Chunk chunk = ring.Take(true);
    EXPECT_EQ(chunk.length, 3584u);
    ring.Consume(chunk.length);
    EXPECT_EQ(ring.Take(true).length, 0u);
    EXPECT_EQ(ring.Take(false).length, 416u);

    // 416 left at offset 3584; 3000 more run past the end (5120) and wrap.
    std::vector<BYTE> more(3000);
    for (size_t i = 0; i < more.size(); ++i)
        more[i] = static_cast<BYTE>(i);
    ASSERT_TRUE(ring.Put(more.data(), more.size()));
    chunk = ring.Take(true);
    EXPECT_EQ(chunk.length, 1536u);  // up to the end of the ring
    EXPECT_EQ(chunk.data[416], 0);
    EXPECT_EQ(chunk.data[1535], static_cast<BYTE>(1119));
    ring.Consume(chunk.length);
    chunk = ring.Take(false);
    EXPECT_EQ(chunk.length, 3000u - 1120u);
    EXPECT_EQ(chunk.data[0], static_cast<BYTE>(1120));
}

TEST(WriteRing, ProducerWaitsForSpaceAndEveryByteArrivesInOrder)
{
    WriteRing ring;
    ASSERT_TRUE(ring.Allocate(700, 512));  // 6656 bytes: samples wrap at odd places
    ring.Reset();
    std::vector<BYTE> sent;
    std::thread producer([&] {
        uint32_t value = 1;
        for (size_t size : {1u, 511u, 512u, 513u, 4000u, 6656u, 9000u, 17u, 3u, 12345u}) {
            std::vector<BYTE> sample(size);
            for (BYTE& b : sample)
                b = static_cast<BYTE>((value = value * 1103515245u + 12345u) >> 16);
            sent.insert(sent.end(), sample.begin(), sample.end());
            ring.Put(sample.data(), sample.size());
        }
        ring.Close();
    });
    std::vector<BYTE> received;
    for (;;) {
        WriteRing::Chunk chunk = ring.Take(true);
        if (chunk.length == 0)
            chunk = ring.Take(false);
        if (chunk.length == 0) {
            if (ring.Closed() && ring.Filled() == 0)
                break;
            Sleep(1);
            continue;
        }
        received.insert(received.end(), chunk.data, chunk.data + chunk.length);
        ring.Consume(chunk.length);
    }
    producer.join();
    EXPECT_EQ(received, sent);
}

TEST(WriteRing, SampleBeingPutWhenTheRingClosesGoesInWholeAndLaterOnesAreRefused)
{
    WriteRing ring;
    ASSERT_TRUE(ring.Allocate(512, 512));  // 5120 bytes
    ring.Reset();
    const std::vector<BYTE> big(20000, 1);
    std::thread producer([&] { EXPECT_TRUE(ring.Put(big.data(), big.size())); });
    // Once more than the ring holds has come out, the producer is inside the sample (it
    // cannot have finished before 20000 - 5120 bytes came out).
    size_t received = 0;
    while (received <= ring.Capacity()) {
        const WriteRing::Chunk chunk = ring.Take(false);
        received += chunk.length;
        ring.Consume(chunk.length);
        if (chunk.length == 0)
            Sleep(1);  // the producer has yet to run
    }
    EXPECT_FALSE(ring.Close());
    for (;;) {
        const WriteRing::Chunk chunk = ring.Take(false);
        received += chunk.length;
        ring.Consume(chunk.length);
        if (chunk.length == 0 && ring.Close() && ring.Filled() == 0)
            break;
        if (chunk.length == 0)
            ring.WaitForProducer();
    }
    producer.join();
    EXPECT_EQ(received, big.size());
    EXPECT_FALSE(ring.Put(big.data(), 10));
    EXPECT_EQ(ring.Filled(), 0u);
}

// Waits for data on another thread and reports how much lay in one piece when it woke.
class Waiter {
public:
    Waiter(WriteRing& ring, DWORD patienceMs)
        : thread_([this, &ring, patienceMs] {
              ring.WaitForData(patienceMs);
              seen_ = ring.Take(true).length;
              done_ = true;
          })
    {
    }
    ~Waiter() { thread_.join(); }
    // True once the wait ended; gives up only after a generous time.
    bool Ended()
    {
        for (int i = 0; i < 10000 && !done_; ++i)
            Sleep(1);
        return done_;
    }
    uint32_t seen() const { return seen_; }

private:
    std::atomic<bool> done_{false};
    std::atomic<uint32_t> seen_{0};
    std::thread thread_;
};

TEST(WriteRing, WriterWakesForABatchForItsPatienceOrWhenSignalled)
{
    WriteRing ring;
    ASSERT_TRUE(ring.Allocate(1024, 512));  // 10240 bytes, batches of 5120
    ring.Reset();
    const std::vector<BYTE> data(6000, 3);
    {
        // Less than a batch: an endlessly patient writer wakes only when the batch is in.
        Waiter waiter(ring, INFINITE);
        ASSERT_TRUE(ring.Put(data.data(), 512));
        ASSERT_TRUE(ring.Put(data.data(), 1000));
        ASSERT_TRUE(ring.Put(data.data(), 5120 - 1512));
        ASSERT_TRUE(waiter.Ended());
        EXPECT_EQ(waiter.seen(), 5120u);
    }
    ring.Consume(5120);
    {
        // Up to the ring's end is a batch too: 5120 bytes from offset 5120.
        ASSERT_TRUE(ring.Put(data.data(), 5120));
        Waiter waiter(ring, INFINITE);
        ASSERT_TRUE(waiter.Ended());
        EXPECT_EQ(waiter.seen(), 5120u);
        ring.Consume(5120);
    }
    {
        // A sector with no patience left is written at once.
        ASSERT_TRUE(ring.Put(data.data(), 600));
        Waiter waiter(ring, 0);
        ASSERT_TRUE(waiter.Ended());
        EXPECT_EQ(waiter.seen(), 512u);
    }
    {
        // The end of a run does not wait for a batch.
        Waiter waiter(ring, INFINITE);
        ring.SignalData();
        ASSERT_TRUE(waiter.Ended());
    }
}
