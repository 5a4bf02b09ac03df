#pragma once
// The runs of one writer: the current run, which takes the samples, and any earlier run whose
// thread was still finishing its file when that run ended. Every run drains a ring of its own,
// so a new run is never refused, nor made to wait, because an old one is slow: the old run
// keeps its data and finishes its file in its own time.
#include "WriterRun.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <vector>

namespace scrivet {

class WriterRuns {
public:
    WriterRuns();
    ~WriterRuns();  // WaitForAll
    WriterRuns(const WriterRuns&) = delete;
    WriterRuns& operator=(const WriterRuns&) = delete;

    // Ring memory for the next run: the last ring again when no earlier run still uses it and
    // the sector size is unchanged, else ten buffers of `bufferSize` anew. False when the
    // memory cannot be had (or rounds to nothing).
    bool PrepareRing(uint32_t bufferSize, uint32_t sectorSize);
    // Starts a run on the prepared ring; false when none is prepared or the thread cannot start.
    bool Start(std::unique_ptr<RunFile> file, WriteLimit limit, bool repairTail,
               WriterEventSink& events, std::atomic<uint64_t>& sharedBytes);
    bool Active() const { return current_ != nullptr; }
    bool Accepting() const { return accepting_.load(); }

    // Streaming thread: the sample goes, whole, to the current run; without one it is dropped.
    void Put(const BYTE* data, size_t length);

    // The current run takes no more samples and finishes its file. False when it did not
    // finish within `timeoutMs`: it then goes on by itself.
    bool End(DWORD timeoutMs);
    // Ends the current run and waits, however long it takes, for every run to finish its file.
    void WaitForAll();
    // Runs that went on after their end and are still busy.
    size_t Lingering();

    // The connection that sized the ring is gone: the next run allocates it anew.
    void ReleaseRing();

private:
    struct Run {
        std::shared_ptr<WriteRing> ring;  // declared first: the run's thread uses it to the end
        std::unique_ptr<WriterRun> run;
    };
    void DropFinished();

    std::shared_ptr<WriteRing> ring_;  // for the current run, or the next one
    std::unique_ptr<WriterRun> current_;
    std::vector<Run> lingering_;
    // The ring that samples go to, swapped under its own lock so that the streaming thread
    // always holds a ring that lives as long as its copy.
    CRITICAL_SECTION targetLock_;
    std::shared_ptr<WriteRing> target_;
    std::atomic<bool> accepting_{false};
};

}  // namespace scrivet
