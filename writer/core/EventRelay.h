#pragma once
// Passes the events of a writer's runs on to the writer, in the order they came, from a thread
// of its own. Posting a graph event waits for the system (under Wine, a trip to the wineserver
// that every process of the session shares) and for the graph's event lock, which its reader
// takes too; on a loaded machine single posts took 200-650 ms. Such a post must not hold up the
// writer thread's next write, or the ring fills and the streaming thread waits.
//
// After Detach the relay posts into nothing, so a run that outlives its writer never reaches a
// filter that is gone.
#include "AutoResetSignal.h"
#include "WriterEvents.h"

#include <win/Handle.h>
#include <win/Lock.h>

#include <windows.h>

#include <memory>
#include <vector>

namespace scrivet {

class EventRelay final : public WriterEventSink, public std::enable_shared_from_this<EventRelay> {
public:
    explicit EventRelay(WriterEventSink& target);
    EventRelay(const EventRelay&) = delete;
    EventRelay& operator=(const EventRelay&) = delete;

    // Starts the posting thread once; without it (it cannot start) events are posted at once
    // on the caller's thread. Only for a relay that a shared_ptr owns.
    void Start();
    // Queues the event; the posting thread passes it on, a progress event within a few
    // milliseconds, any other at once.
    void Notify(long code, LONG_PTR param1, LONG_PTR param2) override;
    // Waits until every event queued so far has been passed on; false when `timeoutMs` passed
    // first.
    bool Flush(DWORD timeoutMs);
    // Drops what is still queued and passes nothing on any more; returns once no event is
    // being passed on. The posting thread ends.
    void Detach();

private:
    struct Event {
        long code;
        LONG_PTR param1;
        LONG_PTR param2;
    };
    static DWORD WINAPI ThreadMain(void* start);
    void Post();
    // Passes one event on, unless detached.
    void Pass(const Event& event);

    win::CritSec targetLock_;  // held while an event is passed on
    WriterEventSink* target_;
    win::CritSec queueLock_;
    std::vector<Event> queue_;
    bool started_ = false;
    bool posting_ = false;       // the thread holds events taken from the queue
    bool posterWaiting_ = false;  // the thread sleeps until events come
    bool gathering_ = false;      // the thread lets progress events gather a little first
    bool urgent_ = false;         // an event other than progress is queued
    bool flusherWaiting_ = false;
    bool ending_ = false;
    AutoResetSignal eventsCame_;
    AutoResetSignal drained_;
};

}  // namespace scrivet
