#pragma once
// The runs of one writer: the current run, which takes the samples, and any earlier run whose
// thread was still finishing its file when that run ended. Every run drains a ring of its own,
// so a new run is never refused, nor made to wait, because an old one is slow: the old run
// keeps its data and finishes its file in its own time.
#include "EventRelay.h"
#include "WriterRun.h"

#include <win/Lock.h>

#include <windows.h>

#include <atomic>
#include <memory>
#include <vector>

namespace scrivet {

class WriterRuns {
public:
    // Events of every run go to `events` until Detach.
    explicit WriterRuns(WriterEventSink& events);
    ~WriterRuns();  // Detach(0)
    WriterRuns(const WriterRuns&) = delete;
    WriterRuns& operator=(const WriterRuns&) = delete;

    // Ring memory for the next run: the last ring again when no earlier run still uses it and
    // the sector size is unchanged, else a ring for `bufferSize`-byte samples anew. False when the
    // memory cannot be had (or rounds to nothing).
    bool PrepareRing(uint32_t bufferSize, uint32_t sectorSize);
    // Starts a run on the prepared ring; false when none is prepared or the thread cannot start.
    bool Start(std::unique_ptr<RunFile> file, WriteLimit limit, bool repairTail,
               std::atomic<uint64_t>& sharedBytes);
    bool Active() const { return current_ != nullptr; }
    bool Accepting() const { return accepting_.load(); }

    // Where the streaming thread's samples go: a ring and the run generation it serves.
    struct Target {
        std::shared_ptr<WriteRing> ring;
        uint32_t generation = 0;
    };
    Target CurrentTarget();
    // Streaming thread: the sample goes, whole, to the target's run; when that run is over
    // (even if its ring now serves a later one) it is dropped.
    void Put(const Target& target, const BYTE* data, size_t length, PutTrace* trace = nullptr);
    void Put(const BYTE* data, size_t length) { Put(CurrentTarget(), data, length); }

    // The current run takes no more samples and finishes its file. False when it did not
    // finish within `timeoutMs`: it then goes on by itself.
    bool End(DWORD timeoutMs);
    // Ends the current run, gives every run together at most `timeoutMs` to finish its file,
    // and then cuts them all off from the event sink: the runs still busy go on by themselves,
    // and no event of theirs reaches the sink any more. Later runs post to the sink again.
    // Returns whether every run had finished.
    bool Detach(DWORD timeoutMs);
    // Runs that went on after their end and are still busy.
    size_t Lingering();

    // The connection that sized the ring is gone: the next run allocates it anew.
    void ReleaseRing();

private:
    void DropFinished();

    WriterEventSink& sink_;
    std::shared_ptr<EventRelay> relay_;
    std::shared_ptr<WriteRing> ring_;  // for the current run, or the next one
    std::shared_ptr<WriterRun> current_;
    std::vector<std::shared_ptr<WriterRun>> lingering_;
    // The target of the samples, swapped under its own lock so that the streaming thread
    // always holds a ring that lives as long as its copy.
    win::CritSec targetLock_;
    Target target_;
    std::atomic<bool> accepting_{false};
};

}  // namespace scrivet
