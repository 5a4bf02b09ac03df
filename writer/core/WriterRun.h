#pragma once
// One run of the writer thread: it drains the ring to the file in whole sectors, tests every
// write against the run's limit, posts progress and error events and, when the run ends,
// writes the last partial sector and has the file cut and repaired.
//
// A run owns everything its thread touches (ring, file, event sink) and its thread owns the
// run, so a thread that is still busy when everybody else has stopped waiting for it (a write
// hanging on a dead network share) finishes on its own, after the filter is gone.
#include "RunFile.h"
#include "WriteLimit.h"
#include "WriteRing.h"
#include "WriterEvents.h"

#include <win/Handle.h>

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>

namespace scrivet {

class WriterRun : public std::enable_shared_from_this<WriterRun> {
public:
    // `sharedBytes` must outlive the thread; it is the process-wide count in the plug-in.
    WriterRun(std::shared_ptr<WriteRing> ring, std::unique_ptr<RunFile> file, WriteLimit limit,
              bool repairTail, std::shared_ptr<WriterEventSink> events,
              std::atomic<uint64_t>& sharedBytes);
    WriterRun(const WriterRun&) = delete;
    WriterRun& operator=(const WriterRun&) = delete;

    // Opens the ring and starts the thread; false when the thread cannot be created. Only for
    // a run that a shared_ptr owns.
    bool Start();
    // No more data comes: the thread drains the ring and finishes the file. Returns whether it
    // did so within `timeoutMs`.
    bool End(DWORD timeoutMs);
    // Waits for the thread to end, at most `timeoutMs`.
    bool Wait(DWORD timeoutMs) const;
    bool Finished() const { return Wait(0); }

    // The ring generation this run takes samples for.
    uint32_t Generation() const { return generation_; }
    uint64_t FileBytes() const { return fileBytes_.load(); }

private:
    static DWORD WINAPI ThreadMain(void* start);
    void Loop();
    void Process(const WriteRing::Chunk& chunk);
    void FinishFile();
    void TraceSlowWrite(int64_t posting, int64_t writing, uint32_t length);
    // Bytes the run may still write before its limit.
    uint64_t Room() const;
    void Stop(long event);

    const std::shared_ptr<WriteRing> ring_;
    std::unique_ptr<RunFile> file_;
    const WriteLimit limit_;
    const bool repairTail_;
    const std::shared_ptr<WriterEventSink> events_;
    std::atomic<uint64_t>& sharedBytes_;
    uint32_t generation_ = 0;
    std::atomic<bool> running_{false};
    std::atomic<uint64_t> fileBytes_{0};
    long stopEvent_ = 0;  // writer thread only: the event that stopped the writing, 0 if none
    win::Handle thread_;
    const bool trace_ = TraceEnabled();
};

}  // namespace scrivet
