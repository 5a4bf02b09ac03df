#pragma once
// A cheap trace of where a Receive that blocked spent its time, and of what the writer thread
// was doing then. Off unless the environment variable SCRIVET_TRACE is 1 (the benchmark's
// --trace); when on, every Receive that blocked longer than a few milliseconds and every slow
// write or event post leaves one line in the debugger output stream
// (WINEDEBUG=+debugstr shows them).
#include <windows.h>

#include <atomic>
#include <cstdint>

namespace scrivet {

bool TraceEnabled();
int64_t TraceTicks();
double TraceMs(int64_t ticks);
void TraceLine(const char* format, ...);

// What the writer thread is doing, published for the trace of a blocked Receive.
enum class WriterPhase : uint32_t { Idle, Waiting, Queuing, Writing, Finishing };
const char* PhaseName(WriterPhase phase);

class WriterActivity {
public:
    void Enter(WriterPhase phase)
    {
        since_.store(TraceTicks(), std::memory_order_relaxed);
        phase_.store(phase, std::memory_order_relaxed);
    }
    WriterPhase Phase() const { return phase_.load(std::memory_order_relaxed); }
    double MsInPhase() const { return TraceMs(TraceTicks() - since_.load(std::memory_order_relaxed)); }

private:
    std::atomic<WriterPhase> phase_{WriterPhase::Idle};
    std::atomic<int64_t> since_{0};
};

// What one put into the ring met, for the trace.
struct PutTrace {
    uint32_t filledAtEntry = 0;
    uint32_t spaceWaits = 0;
    int64_t spaceWaitTicks = 0;
    int64_t copyTicks = 0;
    int64_t wakeTicks = 0;  // waking the writer thread
    WriterPhase writerPhase = WriterPhase::Idle;  // when the first wait for room began
    double writerPhaseMs = 0;
};

}  // namespace scrivet
