#pragma once
// One prober at a time on a capture graph. Signal probes stop and run the graph and route the
// crossbar; the source-detection worker and the video wait worker must never do that at once,
// and a teardown or rebuild must not pull the graph from under a probe in progress.
#include <windows.h>

#include <atomic>

#include "win/Handle.h"

namespace media {

class ProbeGuard {
public:
    ProbeGuard();
    ProbeGuard(const ProbeGuard&) = delete;
    ProbeGuard& operator=(const ProbeGuard&) = delete;

    // A prober enters before it touches the graph; false when another holds the graph for
    // longer than `timeoutMs`.
    bool Enter(DWORD timeoutMs);
    void Leave();

    // Teardown or rebuild: every prober is asked to stop at its next check (the generation
    // moves on), then the one in progress is waited for, at most `timeoutMs`. True when the
    // graph is free; the caller then holds it until Leave.
    bool StopProbers(DWORD timeoutMs);
    // Probers compare the generation they started in with this one between probes.
    unsigned Generation() const { return generation_.load(); }

private:
    win::Handle slot_;  // a semaphore of one: a prober on any thread, released by the same
    std::atomic<unsigned> generation_{0};
};

// Holds the guard for a scope.
class ProbeLease {
public:
    ProbeLease(ProbeGuard& guard, DWORD timeoutMs) : guard_(guard), held_(guard.Enter(timeoutMs)) {}
    ~ProbeLease()
    {
        if (held_)
            guard_.Leave();
    }
    ProbeLease(const ProbeLease&) = delete;
    ProbeLease& operator=(const ProbeLease&) = delete;
    bool Held() const { return held_; }

private:
    ProbeGuard& guard_;
    bool held_;
};

}  // namespace media
