#pragma once
// The delivery thread of one demultiplexer output. The parser hands each output its packets
// and goes on at once; this thread cuts them into the output's buffers and delivers them, so
// a branch that holds samples (a paused renderer keeps its first one until the graph runs, an
// audio renderer waits for its clock) never stops the other outputs. While the filter runs,
// an output whose downstream takes nothing for a long time is stalled: its new packets are
// dropped (the next delivered one is marked as a discontinuity) instead of blocking the
// input. While paused, a full queue waits, which is what holds a file source back.
//
// Deliveries must not reach a downstream filter while the graph stops it. The graph pauses
// every filter and then stops them downstream first, and Wine's MPEG audio decoder frees its
// stream objects in Stop before it reports itself stopped: a Receive that waits for its
// stream lock during that Stop runs on freed memory. So an output paused after running is
// held (it starts no delivery until it runs again, is flushed or stops; its queue keeps
// filling), which is what a live source does while paused anyway. And once the downstream
// pin refuses a delivery (an error, or S_FALSE) it gets nothing more until the next start or
// flush, as the pin contract asks.
#include <win/Handle.h>
#include <win/Lock.h>
#include <dshowbase/Pins.h>

#include <cstdint>
#include <deque>
#include <vector>

namespace testbed {

class OutputQueue {
public:
    explicit OutputQueue(dshow::OutputPin* pin);
    ~OutputQueue();
    OutputQueue(const OutputQueue&) = delete;
    OutputQueue& operator=(const OutputQueue&) = delete;

    // Pin activation (under the filter lock): starts and ends the delivery thread. Stop
    // discards what is still queued; the pin's allocator must be decommitted first so a
    // thread waiting for a buffer returns.
    HRESULT Start();
    void Stop();

    // Running to paused holds the deliveries; Run releases them (as do a flush and a stop).
    void Hold();
    void Release();

    // Streaming side, from the input's thread. `time` < 0 means no timestamp.
    void Push(std::vector<uint8_t> bytes, REFERENCE_TIME time, bool discontinuity);
    void PushEndOfStream();
    // Flushing: BeginFlush drops what is queued and passes the flush downstream (which frees
    // a delivery blocked there); EndFlush waits until the thread is idle, then ends it.
    void BeginFlush();
    void EndFlush();

    // Packets dropped because the output was stalled, since Start.
    long Dropped() const { return dropped_; }

private:
    struct Item {
        std::vector<uint8_t> bytes;
        REFERENCE_TIME time = -1;
        bool discontinuity = false;
        bool endOfStream = false;
    };

    static DWORD WINAPI ThreadMain(void* self);
    void Run();
    HRESULT Deliver(const Item& item);
    bool WaitForRoom();  // false: drop the packet (stopping, flushing, refused or stalled)
    bool WaitWhileHeld();  // false: the queue stopped or flushed meanwhile
    bool AcceptsLocked() const { return !stopping_ && !flushing_ && !endOfStream_ && !refused_; }
    void OnRefusedLocked(HRESULT hr);

    dshow::OutputPin* pin_;
    win::CritSec lock_;
    std::deque<Item> items_;
    size_t queuedBytes_ = 0;
    win::Handle wake_;   // auto-reset: an item arrived or the queue is stopping
    win::Handle room_;   // manual-reset: set while the queue has room (or is stopping)
    win::Handle idle_;   // manual-reset: set while the thread is not delivering
    win::Handle thread_;
    bool stopping_ = false;
    bool flushing_ = false;
    bool dropping_ = false;     // packets were dropped: mark the next one
    bool endOfStream_ = false;  // end of stream passed: nothing more until the next start
    bool busy_ = false;         // the thread is delivering an item
    bool refused_ = false;      // downstream refused a delivery: nothing more until restarted
    bool held_ = false;         // paused after running: no delivery starts until released
    DWORD busySince_ = 0;       // tick count when that delivery began
    bool sawRunning_ = false;   // the input saw the filter running at its last check
    DWORD runningSince_ = 0;    // tick count when it first saw it running
    long dropped_ = 0;
};

}  // namespace testbed
