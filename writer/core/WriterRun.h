#pragma once
// One run of the writer thread: it drains the ring to the file in whole sectors, tests every
// write against the run's limit, posts progress and error events and, when the run ends,
// writes the last partial sector and has the file cut and repaired.
#include "RunFile.h"
#include "WriteLimit.h"
#include "WriteRing.h"
#include "WriterEvents.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>

namespace scrivet {

class WriterRun {
public:
    WriterRun(WriteRing& ring, std::unique_ptr<RunFile> file, WriteLimit limit, bool repairTail,
              WriterEventSink& events, std::atomic<uint64_t>& sharedBytes);
    // Waits for the thread however long it takes: it uses the ring and the sink.
    ~WriterRun();
    WriterRun(const WriterRun&) = delete;
    WriterRun& operator=(const WriterRun&) = delete;

    // Opens the ring and starts the thread; false when the thread cannot be created.
    bool Start();
    // No more data comes: the thread drains the ring and finishes the file. Returns whether it
    // did so within `timeoutMs`.
    bool End(DWORD timeoutMs);
    bool Finished() const;

    uint64_t FileBytes() const { return fileBytes_.load(); }

private:
    static DWORD WINAPI ThreadMain(void* self);
    void Loop();
    void Process(const WriteRing::Chunk& chunk);
    void FinishFile();
    void Stop(long event);

    WriteRing& ring_;
    std::unique_ptr<RunFile> file_;
    const WriteLimit limit_;
    const bool repairTail_;
    WriterEventSink& events_;
    std::atomic<uint64_t>& sharedBytes_;
    std::atomic<bool> running_{false};
    std::atomic<uint64_t> fileBytes_{0};
    bool stopped_ = false;  // writer thread only
    HANDLE thread_ = nullptr;
};

}  // namespace scrivet
