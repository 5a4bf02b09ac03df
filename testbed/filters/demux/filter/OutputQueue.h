#pragma once
// The delivery thread of one demultiplexer output. The parser hands each output its packets
// and goes on at once; this thread cuts them into the output's buffers and delivers them, so
// a branch that holds samples (a paused renderer keeps its first one until the graph runs, an
// audio renderer waits for its clock) never stops the other outputs. While the filter runs,
// an output whose downstream takes nothing for a long time is stalled: its new packets are
// dropped (the next delivered one is marked as a discontinuity) instead of blocking the
// input. While paused, a full queue waits, which is what holds a file source back.
#include <dshowbase/Lock.h>
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
    bool WaitForRoom();  // false: drop the packet (stopping, flushing or stalled)

    dshow::OutputPin* pin_;
    dshow::CritSec lock_;
    std::deque<Item> items_;
    size_t queuedBytes_ = 0;
    dshow::Handle wake_;   // auto-reset: an item arrived or the queue is stopping
    dshow::Handle room_;   // manual-reset: set while the queue has room (or is stopping)
    dshow::Handle idle_;   // manual-reset: set while the thread is not delivering
    dshow::Handle thread_;
    bool stopping_ = false;
    bool flushing_ = false;
    bool dropping_ = false;     // packets were dropped: mark the next one
    bool endOfStream_ = false;  // end of stream passed: nothing more until the next start
    bool busy_ = false;         // the thread is delivering an item
    DWORD busySince_ = 0;       // tick count when that delivery began
    bool sawRunning_ = false;   // the input saw the filter running at its last check
    DWORD runningSince_ = 0;    // tick count when it first saw it running
    long dropped_ = 0;
};

}  // namespace testbed
