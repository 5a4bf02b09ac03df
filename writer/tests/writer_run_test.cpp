#include "WriterRun.h"

#include "TestSupport.h"
#include "WriterTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

using namespace scrivet;
using namespace scrivet::test;

std::vector<uint8_t> scrivet::test::LoadStream(const char* name)
{
    const char* folder = std::getenv("SCRIVET_STREAMS");
    if (!folder)
        return {};
    return ReadWholeFile(std::string(folder) + "/" + name);
}

std::vector<BYTE> scrivet::test::ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

namespace {

constexpr WriteLimit kUnlimited{INT64_MAX, LimitReason::FreeSpace};

// Pushes `data` in samples of the given sizes, in turn, as the streaming thread would.
void Push(WriteRing& ring, const std::vector<BYTE>& data, std::initializer_list<size_t> sizes)
{
    size_t at = 0;
    while (at < data.size()) {
        for (size_t size : sizes) {
            const size_t piece = std::min(size, data.size() - at);
            ring.Put(data.data() + at, piece);
            at += piece;
            if (at == data.size())
                break;
        }
    }
}

std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

class WriterRunFile : public testing::TestWithParam<size_t> {};

}  // namespace

TEST_P(WriterRunFile, FileHoldsExactlyTheBytesPushed)
{
    const size_t total = GetParam();
    const std::string path = testsupport::OutputDir() + "run_" + std::to_string(total) + ".bin";
    auto ring = std::make_shared<WriteRing>();
    ASSERT_TRUE(ring->Allocate(4096, 512));
    auto file = std::make_unique<UnbufferedRunFile>();
    ASSERT_EQ(file->Create(Wide(path), 512), 0u);
    auto events = std::make_shared<EventRecorder>();
    std::atomic<uint64_t> shared{0};
    const std::vector<BYTE> data = TestBytes(total, static_cast<uint32_t>(total));
    {
        auto run = std::make_shared<WriterRun>(ring, std::move(file), kUnlimited, false, events, shared);
        ASSERT_TRUE(run->Start());
        Push(*ring, data, {188, 2048, 1, 65536, 7, 4096, 513});
        ASSERT_TRUE(run->End(10000));
        EXPECT_EQ(run->FileBytes(), total);
    }
    const std::vector<BYTE> written = ReadWholeFile(path);
    ASSERT_EQ(written.size(), total);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), written.begin()));
    EXPECT_EQ(shared.load(), total);
    EXPECT_TRUE(events->Codes().empty());
    const std::vector<uint64_t> totals = events->ProgressTotals();
    ASSERT_FALSE(totals.empty());
    EXPECT_TRUE(std::is_sorted(totals.begin(), totals.end()));
    EXPECT_EQ(totals.back(), total);
}

INSTANTIATE_TEST_SUITE_P(Lengths, WriterRunFile,
                         testing::Values(512 * 300, 512 * 300 + 123, 1, 511, 200000));

TEST(WriterRun, CallerLimitStopsAndTheFileHoldsWhatWasWrittenBeforeIt)
{
    const std::string path = testsupport::OutputDir() + "limit.bin";
    auto ring = std::make_shared<WriteRing>();
    ASSERT_TRUE(ring->Allocate(1024, 512));
    auto file = std::make_unique<UnbufferedRunFile>();
    ASSERT_EQ(file->Create(Wide(path), 512), 0u);
    auto events = std::make_shared<EventRecorder>();
    std::atomic<uint64_t> shared{0};
    const std::vector<BYTE> data = TestBytes(100000, 5);
    uint64_t fileBytes = 0;
    {
        auto run = std::make_shared<WriterRun>(ring, std::move(file), WriteLimit{30000, LimitReason::CallerLimit}, false, events,
                      shared);
        ASSERT_TRUE(run->Start());
        Push(*ring, data, {1000, 3333});
        ASSERT_TRUE(run->End(10000));
        fileBytes = run->FileBytes();
    }
    EXPECT_EQ(events->Codes(), std::vector<long>{EC_WRITER_SIZE_LIMIT});
    EXPECT_LE(fileBytes, 30000u);
    EXPECT_GT(fileBytes, 30000u - 10240u);
    EXPECT_EQ(fileBytes % 512, 0u);
    const std::vector<BYTE> written = ReadWholeFile(path);
    ASSERT_EQ(written.size(), fileBytes);
    EXPECT_TRUE(std::equal(written.begin(), written.end(), data.begin()));
    EXPECT_EQ(events->ProgressTotals().back(), fileBytes);
}

TEST(WriterRun, AChunkThatWouldPassTheLimitIsWrittenUpToTheLastSectorBeforeIt)
{
    // Large rings hand the writer large chunks; the file still ends at the limit, whatever
    // the reason that binds.
    const struct {
        uint32_t ring;
        int64_t limit;
        LimitReason reason;
        long event;
    } cases[] = {{1 << 20, 300000, LimitReason::CallerLimit, EC_WRITER_SIZE_LIMIT},
                 {1 << 20, 512 * 400, LimitReason::FreeSpace, EC_WRITER_DISK_FULL},
                 {8 << 20, 1000000, LimitReason::FatCeiling, EC_WRITER_FAT_LIMIT},
                 {1 << 20, 100, LimitReason::CallerLimit, EC_WRITER_SIZE_LIMIT}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limit);
        auto ring = std::make_shared<WriteRing>();
        ASSERT_TRUE(ring->AllocateBytes(c.ring, 512));
        std::vector<BYTE> contents;
        auto file = std::make_unique<MemoryRunFile>(512, contents);
        MemoryRunFile* fake = file.get();
        auto events = std::make_shared<EventRecorder>();
        std::atomic<uint64_t> shared{0};
        const std::vector<BYTE> data = TestBytes(static_cast<size_t>(c.limit) * 2 + 5000, 6);
        auto run = std::make_shared<WriterRun>(ring, std::move(file), WriteLimit{c.limit, c.reason}, true, events,
                                               shared);
        ASSERT_TRUE(run->Start());
        ring->Put(data.data(), data.size());  // one sample, one chunk: more than the limit
        ASSERT_TRUE(run->End(10000));
        const uint64_t expected = static_cast<uint64_t>(c.limit) / 512 * 512;
        EXPECT_EQ(run->FileBytes(), expected);
        EXPECT_EQ(events->Codes(), std::vector<long>{c.event});
        const std::vector<uint64_t> totals = events->ProgressTotals();
        if (expected == 0)
            EXPECT_TRUE(totals.empty());
        else
            EXPECT_EQ(totals, std::vector<uint64_t>{expected});
        // Progress first, then the stop: the stop names the last total the user saw.
        EXPECT_EQ(events->Events().back().code, c.event);
        EXPECT_TRUE(std::equal(contents.begin(), contents.end(), data.begin()));
        // The writer stopped the stream: it ends on a whole picture, inside the limit.
        EXPECT_TRUE(fake->finishRule.wholePicture);
        EXPECT_TRUE(fake->finishRule.repairTail);
        EXPECT_EQ(fake->finishRule.maxLength, static_cast<uint64_t>(c.limit));
    }
}

TEST(WriterRun, OnlyAStreamTheWriterStoppedEndsOnAWholePicture)
{
    enum Stop { Source, Limit, FailedWrite, LastSectorPastLimit };
    for (Stop stop : {Source, Limit, FailedWrite, LastSectorPastLimit}) {
        SCOPED_TRACE(stop);
        auto ring = std::make_shared<WriteRing>();
        ASSERT_TRUE(ring->Allocate(1024, 512));
        std::vector<BYTE> contents;
        auto file = std::make_unique<MemoryRunFile>(512, contents);
        MemoryRunFile* fake = file.get();
        fake->failAt = stop == FailedWrite ? 2 : 0;
        const int64_t limit = stop == Limit ? 2000 : stop == LastSectorPastLimit ? 5100 : 1000000;
        auto events = std::make_shared<EventRecorder>();
        std::atomic<uint64_t> shared{0};
        auto run = std::make_shared<WriterRun>(ring, std::move(file), WriteLimit{limit, LimitReason::CallerLimit},
                                               true, events, shared);
        ASSERT_TRUE(run->Start());
        Push(*ring, TestBytes(5120 + 77, 8), {512});
        ASSERT_TRUE(run->End(10000));
        EXPECT_EQ(fake->finishRule.wholePicture, stop != Source);
        EXPECT_EQ(fake->finishRule.maxLength, run->FileBytes() + (limit - shared.load()));
        EXPECT_EQ(events->Codes().empty(), stop == Source);
    }
}

TEST(WriterRun, LastPartialSectorCountsAgainstTheLimit)
{
    auto ring = std::make_shared<WriteRing>();
    ASSERT_TRUE(ring->Allocate(1024, 512));
    std::vector<BYTE> contents;
    auto file = std::make_unique<MemoryRunFile>(512, contents);
    auto events = std::make_shared<EventRecorder>();
    std::atomic<uint64_t> shared{0};
    auto run = std::make_shared<WriterRun>(ring, std::move(file), WriteLimit{1100, LimitReason::CallerLimit}, false, events, shared);
    ASSERT_TRUE(run->Start());
    ring->Put(TestBytes(1101, 1).data(), 1101);
    ASSERT_TRUE(run->End(10000));
    EXPECT_EQ(run->FileBytes(), 1024u);
    EXPECT_EQ(events->Codes(), std::vector<long>{EC_WRITER_SIZE_LIMIT});
}

TEST(WriterRun, WriteErrorIsReportedOnceAndTheRestDrainsWithoutBlocking)
{
    for (DWORD error : {DWORD{ERROR_CRC}, DWORD{ERROR_DISK_FULL}, DWORD{ERROR_HANDLE_DISK_FULL}}) {
        auto ring = std::make_shared<WriteRing>();
        ASSERT_TRUE(ring->Allocate(1024, 512));
        std::vector<BYTE> contents;
        auto file = std::make_unique<MemoryRunFile>(512, contents);
        MemoryRunFile* fake = file.get();
        fake->failAt = 3;
        fake->error = error;
        fake->delayMs = 1;
        auto events = std::make_shared<EventRecorder>();
        std::atomic<uint64_t> shared{0};
        const std::vector<BYTE> data = TestBytes(ring->Capacity() * 40 + 77, 9);
        auto run = std::make_shared<WriterRun>(ring, std::move(file), kUnlimited, true, events, shared);
        ASSERT_TRUE(run->Start());
        Push(*ring, data, {4096, 100});  // returns only if the writer keeps draining
        ASSERT_TRUE(run->End(10000));
        const long expected = error == ERROR_CRC ? EC_WRITER_WRITE_ERROR : EC_WRITER_DISK_FULL;
        EXPECT_EQ(events->Codes(), std::vector<long>{expected});
        EXPECT_EQ(fake->writes, 3);
        // The file is still finished: cut after the two good writes and repaired.
        EXPECT_TRUE(fake->finished);
        EXPECT_TRUE(fake->repaired);
        EXPECT_EQ(run->FileBytes(), contents.size());
        EXPECT_TRUE(std::equal(contents.begin(), contents.end(), data.begin()));
        EXPECT_EQ(shared.load(), contents.size());
    }
}

// At high rates one progress event covers a large write, which reaches the file in steps;
// each step gives its space back to the ring once it is written, and a failed step keeps the
// steps before it.
TEST(WriterRun, ALargeWriteIsOneEventAndGivesTheRingBackStepByStep)
{
    constexpr uint32_t kMiB = 1u << 20;
    const struct {
        int failAt;
        uint64_t fileBytes;
        std::vector<long> codes;
        std::vector<uint64_t> progress;
    } cases[] = {{0, 8 * kMiB, {}, {512, 4 * kMiB + 512, 8 * kMiB}},
                 {4, 2 * kMiB + 512, {EC_WRITER_WRITE_ERROR}, {512, 4 * kMiB + 512}}};
    for (const auto& c : cases) {
        auto ring = std::make_shared<WriteRing>();
        ASSERT_TRUE(ring->AllocateBytes(8 * kMiB, 512));
        std::vector<BYTE> contents;
        auto file = std::make_unique<MemoryRunFile>(512, contents);
        MemoryRunFile* fake = file.get();
        win::Handle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        fake->holdWrite = &release;
        fake->failAt = c.failAt;
        fake->watchedRing = ring.get();
        auto events = std::make_shared<EventRecorder>();
        std::atomic<uint64_t> shared{0};
        const std::vector<BYTE> data = TestBytes(8 * kMiB, 12);
        auto run = std::make_shared<WriterRun>(ring, std::move(file), kUnlimited, false, events, shared);
        ASSERT_TRUE(run->Start());
        // The first sector is taken alone once the writer's patience runs out; its write waits
        // until the ring is full behind it.
        ring->Put(data.data(), 512);
        ASSERT_TRUE(testsupport::PumpMessages(10000, [&] { return !events->ProgressTotals().empty(); }));
        ring->Put(data.data() + 512, data.size() - 512);
        SetEvent(release.Get());
        ASSERT_TRUE(run->End(10000));
        EXPECT_EQ(events->Codes(), c.codes);
        EXPECT_EQ(events->ProgressTotals(), c.progress);
        EXPECT_EQ(run->FileBytes(), c.fileBytes);
        EXPECT_EQ(shared.load(), c.fileBytes);
        ASSERT_EQ(contents.size(), c.fileBytes);
        EXPECT_TRUE(std::equal(contents.begin(), contents.end(), data.begin()));
        if (c.failAt == 0) {
            const std::vector<DWORD> sizes = {512, kMiB, kMiB, kMiB, kMiB, kMiB, kMiB, kMiB, kMiB - 512};
            EXPECT_EQ(fake->writeSizes, sizes);
            std::vector<uint32_t> filled = {8 * kMiB};
            for (uint32_t left = 8 * kMiB - 512; filled.size() < sizes.size(); left -= kMiB)
                filled.push_back(left);
            EXPECT_EQ(fake->ringFilled, filled);
        }
    }
}

TEST(WriterRun, FailedLastSectorStillCutsAndFinishesTheFile)
{
    auto ring = std::make_shared<WriteRing>();
    ASSERT_TRUE(ring->Allocate(1024, 512));
    std::vector<BYTE> contents;
    auto file = std::make_unique<MemoryRunFile>(512, contents);
    MemoryRunFile* fake = file.get();
    fake->failAt = 2;
    auto events = std::make_shared<EventRecorder>();
    std::atomic<uint64_t> shared{0};
    const std::vector<BYTE> data = TestBytes(1536 + 100, 3);
    auto run = std::make_shared<WriterRun>(ring, std::move(file), kUnlimited, false, events, shared);
    ASSERT_TRUE(run->Start());
    ring->Put(data.data(), 1536);
    while (ring->Filled() != 0)
        Sleep(1);
    ring->Put(data.data() + 1536, 100);
    ASSERT_TRUE(run->End(10000));
    EXPECT_EQ(fake->writes, 2);
    EXPECT_EQ(events->Codes(), std::vector<long>{EC_WRITER_WRITE_ERROR});
    EXPECT_TRUE(fake->finished);
    EXPECT_EQ(fake->finishedLength, 1536u);
    EXPECT_FALSE(fake->repaired);
}

TEST(WriterRun, ProducerReturnsOnceTheWriterHasEnded)
{
    auto ring = std::make_shared<WriteRing>();
    ASSERT_TRUE(ring->Allocate(1024, 512));
    std::vector<BYTE> contents;
    auto events = std::make_shared<EventRecorder>();
    std::atomic<uint64_t> shared{0};
    auto run = std::make_shared<WriterRun>(ring, std::make_unique<MemoryRunFile>(512, contents), kUnlimited, false, events,
                  shared);
    ASSERT_TRUE(run->Start());
    ring->Put(TestBytes(700, 1).data(), 700);
    ASSERT_TRUE(run->End(10000));
    EXPECT_TRUE(run->Finished());
    EXPECT_EQ(contents.size(), 700u);
    const std::vector<BYTE> late = TestBytes(ring->Capacity() * 3, 2);
    EXPECT_FALSE(ring->Put(late.data(), late.size()));
}

TEST(WriterRun, SharedCountIsExactWithSeveralWritersAtOnce)
{
    constexpr int kWriters = 4;
    std::atomic<uint64_t> shared{0};
    std::vector<std::vector<BYTE>> contents(kWriters);
    std::vector<std::shared_ptr<WriteRing>> rings;
    std::vector<std::shared_ptr<WriterRun>> runs;
    auto events = std::make_shared<EventRecorder>();
    for (int i = 0; i < kWriters; ++i) {
        rings.push_back(std::make_shared<WriteRing>());
        ASSERT_TRUE(rings.back()->Allocate(1024, 512));
        runs.push_back(std::make_shared<WriterRun>(
            rings.back(), std::make_unique<MemoryRunFile>(512, contents[i]), kUnlimited, false,
            events, shared));
        ASSERT_TRUE(runs.back()->Start());
    }
    std::vector<std::thread> producers;
    for (int i = 0; i < kWriters; ++i)
        producers.emplace_back([&, i] {
            Push(*rings[i], TestBytes(300000 + i * 1111, i), {512, 1000, 77});
        });
    for (std::thread& t : producers)
        t.join();
    uint64_t sum = 0;
    for (int i = 0; i < kWriters; ++i) {
        ASSERT_TRUE(runs[i]->End(10000));
        sum += contents[i].size();
    }
    EXPECT_EQ(sum, 4 * 300000u + 6 * 1111u);
    EXPECT_EQ(shared.load(), sum);
}

TEST(WriterRun, TheLastSectorHoldsZerosPastTheDataNotAnEarlierRunsBytes)
{
    auto ring = std::make_shared<WriteRing>();
    ASSERT_TRUE(ring->Allocate(512, 512));
    std::atomic<uint64_t> shared{0};
    auto events = std::make_shared<EventRecorder>();
    const std::vector<BYTE> earlier(ring->Capacity(), 0xEE);
    const std::vector<BYTE> data = TestBytes(700, 4);
    std::vector<BYTE> contents[2];
    std::shared_ptr<WriterRun> runs[2];  // each owns its file
    MemoryRunFile* second = nullptr;
    for (int i = 0; i < 2; ++i) {
        auto file = std::make_unique<MemoryRunFile>(512, contents[i]);
        second = file.get();
        std::shared_ptr<WriterRun>& run = runs[i];
        run = std::make_shared<WriterRun>(ring, std::move(file), kUnlimited, false, events, shared);
        ASSERT_TRUE(run->Start());
        const std::vector<BYTE>& bytes = i == 0 ? earlier : data;
        ring->Put(bytes.data(), bytes.size());
        ASSERT_TRUE(run->End(10000));
    }
    ASSERT_EQ(second->lastWrite.size(), 512u);
    EXPECT_TRUE(std::equal(data.begin() + 512, data.end(), second->lastWrite.begin()));
    EXPECT_TRUE(std::all_of(second->lastWrite.begin() + 188, second->lastWrite.end(), [](BYTE b) { return b == 0; }));
    EXPECT_EQ(contents[1], data);
}

TEST(WriterRun, AWriteLargerThanOneSystemCallArrivesWhole)
{
    const std::string path = testsupport::OutputDir() + "pieces.bin";
    const DWORD length = 2 * kLargestSystemWrite + 3 * 512;
    BYTE* memory = static_cast<BYTE*>(VirtualAlloc(nullptr, length, MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(memory, nullptr);
    const std::vector<BYTE> data = TestBytes(length, 8);
    std::copy(data.begin(), data.end(), memory);
    {
        UnbufferedRunFile file;
        ASSERT_EQ(file.Create(Wide(path), 512), 0u);
        DWORD written = 0;
        EXPECT_EQ(file.WriteSectors(memory, length, &written), 0u);
        EXPECT_EQ(written, length);
        uint64_t end = length;
        EXPECT_EQ(file.Finish(end, FinishRule{}), 0u);
    }
    VirtualFree(memory, 0, MEM_RELEASE);
    EXPECT_EQ(ReadWholeFile(path), data);
}

TEST(WriterRun, RunFileReplacesWhatTheFileHeld)
{
    const std::string path = testsupport::OutputDir() + "replaced.bin";
    {
        std::ofstream old(path, std::ios::binary);
        old << std::string(5000, 'o');
    }
    auto ring = std::make_shared<WriteRing>();
    ASSERT_TRUE(ring->Allocate(1024, 512));
    auto file = std::make_unique<UnbufferedRunFile>();
    ASSERT_EQ(file->Create(Wide(path), 512), 0u);
    auto events = std::make_shared<EventRecorder>();
    std::atomic<uint64_t> shared{0};
    const std::vector<BYTE> data = TestBytes(700, 9);
    {
        auto run = std::make_shared<WriterRun>(ring, std::move(file), kUnlimited, false, events, shared);
        ASSERT_TRUE(run->Start());
        ring->Put(data.data(), data.size());
        ASSERT_TRUE(run->End(60000));
    }
    EXPECT_EQ(ReadWholeFile(path), data);
}

TEST(WriterRun, AnEndOfRunThatCannotBeCompletedIsReportedOnce)
{
    const struct {
        int failWrite;  // 0: every write succeeds
        DWORD error;    // of the failing write
        long event;     // the one event the run posts
    } cases[] = {{0, 0, EC_WRITER_WRITE_ERROR},
                 {2, ERROR_CRC, EC_WRITER_WRITE_ERROR},
                 {2, ERROR_DISK_FULL, EC_WRITER_DISK_FULL}};
    for (const auto& c : cases) {
        auto ring = std::make_shared<WriteRing>();
        ASSERT_TRUE(ring->Allocate(1024, 512));
        std::vector<BYTE> contents;
        auto file = std::make_unique<MemoryRunFile>(512, contents);
        file->failAt = c.failWrite;
        file->error = c.error;
        file->finishError = ERROR_ACCESS_DENIED;
        auto events = std::make_shared<EventRecorder>();
        std::atomic<uint64_t> shared{0};
        auto run = std::make_shared<WriterRun>(ring, std::move(file), kUnlimited, true, events, shared);
        ASSERT_TRUE(run->Start());
        Push(*ring, TestBytes(5000, 3), {700});
        ASSERT_TRUE(run->End(10000));
        EXPECT_EQ(events->Codes(), std::vector<long>{c.event}) << c.failWrite;
    }
}

TEST(WriterRun, AFileThatCannotBeReopenedStillEndsAtItsData)
{
    const std::string folder = testsupport::OutputDir() + "reopen\\";
    const std::string moved = testsupport::OutputDir() + "reopen_moved\\";
    DeleteFileA((moved + "no_reopen.bin").c_str());
    RemoveDirectoryA(moved.c_str());
    CreateDirectoryA(folder.c_str(), nullptr);
    auto ring = std::make_shared<WriteRing>();
    ASSERT_TRUE(ring->Allocate(4096, 512));
    auto file = std::make_unique<UnbufferedRunFile>();
    ASSERT_EQ(file->Create(Wide(folder + "no_reopen.bin"), 512), 0u);
    auto events = std::make_shared<EventRecorder>();
    std::atomic<uint64_t> shared{0};
    const std::vector<BYTE> data = TestBytes(3 * 512 + 100, 4);
    auto run = std::make_shared<WriterRun>(ring, std::move(file), kUnlimited, true, events, shared);
    ASSERT_TRUE(run->Start());
    Push(*ring, data, {300});
    // The folder moves under the run: its own handle still writes and cuts, a reopen by name
    // for the tail repair fails.
    ASSERT_TRUE(MoveFileA(folder.substr(0, folder.size() - 1).c_str(), moved.substr(0, moved.size() - 1).c_str()));
    ASSERT_TRUE(run->End(10000));
    EXPECT_EQ(ReadWholeFile(moved + "no_reopen.bin"), data);
    EXPECT_EQ(events->Codes(), std::vector<long>{EC_WRITER_WRITE_ERROR});
}
