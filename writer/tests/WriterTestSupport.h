#pragma once
// Test doubles for the writer thread: an event recorder and run files that fail on demand.
#include "RunFile.h"
#include "WriteRing.h"
#include "WriterEvents.h"

#include <win/Handle.h>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace scrivet::test {

struct Event {
    long code;
    LONG_PTR param1;
    LONG_PTR param2;
};

class EventRecorder final : public WriterEventSink {
public:
    void Notify(long code, LONG_PTR param1, LONG_PTR param2) override
    {
        std::lock_guard<std::mutex> hold(lock_);
        events_.push_back({code, param1, param2});
    }
    std::vector<Event> Events()
    {
        std::lock_guard<std::mutex> hold(lock_);
        return events_;
    }
    std::vector<long> Codes(bool withProgress = false)
    {
        std::vector<long> codes;
        for (const Event& e : Events())
            if (withProgress || e.code != EC_WRITER_PROGRESS)
                codes.push_back(e.code);
        return codes;
    }
    std::vector<uint64_t> ProgressTotals()
    {
        std::vector<uint64_t> totals;
        for (const Event& e : Events())
            if (e.code == EC_WRITER_PROGRESS)
                totals.push_back((static_cast<uint64_t>(e.param1) << 32) +
                                 static_cast<uint32_t>(e.param2));
        return totals;
    }

private:
    std::mutex lock_;
    std::vector<Event> events_;
};

// Keeps what is written in memory; write number `failAt` (1-based) fails with `error`.
class MemoryRunFile final : public RunFile {
public:
    MemoryRunFile(DWORD sectorSize, std::vector<BYTE>& contents) : sector_(sectorSize), contents_(contents) {}
    int failAt = 0;
    DWORD error = ERROR_CRC;
    DWORD delayMs = 0;
    const win::Handle* holdFinish = nullptr;      // when set, finishing waits for this event
    const win::Handle* holdWrite = nullptr;  // when set, write number `holdAt` waits for it (30 s at most)
    int holdAt = 1;
    DWORD finishError = 0;                        // what finishing reports
    std::atomic<bool>* finishedFlag = nullptr;    // set once the file is finished
    int writes = 0;
    std::vector<DWORD> writeSizes;  // of every write tried, the failed one too
    WriteRing* watchedRing = nullptr;  // when set, its filled bytes are noted at every write
    std::vector<uint32_t> ringFilled;
    std::vector<BYTE> lastWrite;  // every byte of the last write, the rest of a sector too
    bool finished = false;
    bool repaired = false;
    FinishRule finishRule;
    uint64_t finishedLength = 0;

    DWORD WriteSectors(const BYTE* data, DWORD length, DWORD* written) override
    {
        EXPECT_EQ(reinterpret_cast<uintptr_t>(data) % sector_, 0u);
        EXPECT_EQ(length % sector_, 0u);
        EXPECT_GT(length, 0u);
        if (delayMs)
            Sleep(delayMs);
        if (holdWrite && writes + 1 == holdAt)
            WaitForSingleObject(holdWrite->Get(), 30000);
        *written = 0;
        writeSizes.push_back(length);
        if (watchedRing)
            ringFilled.push_back(watchedRing->Filled());
        if (++writes == failAt)
            return error;
        contents_.insert(contents_.end(), data, data + length);
        lastWrite.assign(data, data + length);
        *written = length;
        return 0;
    }
    DWORD Finish(uint64_t& length, const FinishRule& rule) override
    {
        if (holdFinish)
            WaitForSingleObject(holdFinish->Get(), INFINITE);
        finished = true;
        repaired = rule.repairTail;
        finishRule = rule;
        finishedLength = length;
        contents_.resize(static_cast<size_t>(length));
        if (finishedFlag)
            *finishedFlag = true;
        return finishError;
    }

private:
    DWORD sector_;
    std::vector<BYTE>& contents_;
};

// Pseudo-random bytes, the same for the same seed.
inline std::vector<BYTE> TestBytes(size_t size, uint32_t seed)
{
    std::vector<BYTE> bytes(size);
    for (BYTE& b : bytes)
        b = static_cast<BYTE>((seed = seed * 1103515245u + 12345u) >> 16);
    return bytes;
}

std::vector<BYTE> ReadWholeFile(const std::string& path);

// A stream made by ffmpeg before the tests run (make_streams.sh), from the folder that
// SCRIVET_STREAMS names; empty when it is not there.
std::vector<uint8_t> LoadStream(const char* name);

}  // namespace scrivet::test
