#pragma once
// The search for an input with a signal behind the source-detection dialog: the process-wide
// state the dialog reads (the entry being probed and the result) and the worker thread that
// probes. The dialog never waits for the worker; a search it ends is forgotten, and whatever
// the worker finds after that is ignored.
#include <windows.h>

#include <memory>
#include <vector>

#include "VideoStandardEngine.h"
#include "win/Handle.h"
#include "win/Lock.h"

namespace media {

constexpr int kSearching = -2;
constexpr int kNothingFound = -1;

class SourceDetection {
public:
    static SourceDetection& Instance();

    // On the window's thread, before the worker starts: a new search over `candidates`, with the
    // result reset to "searching" so that a reading right after the start never sees an
    // earlier answer. Returns the search's number.
    unsigned Begin(std::vector<int> candidates);
    // Starts the worker for search `id` on `engine`. With `keepFound` the input found stays
    // routed (the caller switches to it); otherwise the device goes back to the source it had.
    bool StartWorker(unsigned id, std::shared_ptr<VideoStandardEngine> engine, bool keepFound);

    int Result() const;
    int Index() const;
    std::vector<int> Candidates() const;
    // Ends the current search: result "searching", index 0, and the worker stops at its next
    // check. Nothing is waited for.
    void Cancel();
    // Forgets workers that have ended.
    void ReleaseFinishedWorkers();
    // Teardown and exit: waits at most `timeoutMs` for workers still finishing; true when none
    // is left running.
    bool WaitForWorkers(DWORD timeoutMs);
    // Workers that have not ended yet.
    int RunningWorkers();

private:
    struct Job;
    static DWORD WINAPI WorkerMain(void* job);
    void Run(Job& job);
    bool Current(unsigned id) const;
    void SetIndex(unsigned id, int index);
    void Publish(unsigned id, int result);

    mutable win::CritSec lock_;
    unsigned searchId_ = 0;
    int result_ = kSearching;
    int index_ = 0;
    std::vector<int> candidates_;
    std::vector<win::Handle> workers_;
};

}  // namespace media
