#pragma once
// The stop-change-run bracket around changes a driver accepts only while its graph is stopped,
// and the lock around calls into the host (which a worker may make while the window closes).
#include <windows.h>
#include <dshow.h>

#include "StandardHost.h"
#include "win/Lock.h"

namespace media {

constexpr DWORD kStateQueryMs = 20;
constexpr DWORD kTransitionMs = 3000;

// The host as the engine reaches it: from any thread, and never after it was detached.
class HostAccess {
public:
    void Set(StandardHost* host)
    {
        win::AutoLock lock(lock_);
        host_ = host;
    }
    template <class F>
    void Call(F f)
    {
        win::AutoLock lock(lock_);
        if (host_)
            f(*host_);
    }
    template <class R, class F>
    R Ask(R fallback, F f)
    {
        win::AutoLock lock(lock_);
        return host_ ? f(*host_) : fallback;
    }

private:
    win::CritSec lock_;
    StandardHost* host_ = nullptr;
};

// Stops a running graph for the life of the object and runs it again when it ends, on every
// path. A graph that is not running (or no graph) is left alone; brackets nest freely.
class GraphPause {
public:
    GraphPause(IMediaControl* control, HostAccess& host);
    ~GraphPause() { Resume(); }
    GraphPause(const GraphPause&) = delete;
    GraphPause& operator=(const GraphPause&) = delete;

    bool StoppedHere() const { return stopped_; }
    // The graph is stopped inside the bracket, whether this bracket stopped it or it was not
    // running to begin with (a graph still being built).
    bool Stopped() const { return stopped_ || stoppedAlready_; }
    // Runs the graph again now if this bracket stopped it; later calls do nothing.
    HRESULT Resume();

private:
    IMediaControl* control_;
    HostAccess& host_;
    bool stopped_ = false;
    bool stoppedAlready_ = false;
};

// The graph's state, asked with the short wait; false when it cannot be read.
bool ReadGraphState(IMediaControl* control, OAFilterState* state);

}  // namespace media
