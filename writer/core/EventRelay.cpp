#include "EventRelay.h"

#include "RunTrace.h"

#include <new>

namespace scrivet {

namespace {

// How long the poster lets progress events gather before it posts them.
constexpr DWORD kGatherMs = 10;
// What the trace reports as a slow event post.
constexpr double kSlowPassMs = 2;

// What the posting thread holds: its relay, and a reference on the module whose code it runs.
struct RelayStart {
    std::shared_ptr<EventRelay> relay;
    HMODULE module = nullptr;
};

}  // namespace

EventRelay::EventRelay(WriterEventSink& target) : target_(&target) {}

void EventRelay::Start()
{
    win::AutoLock hold(queueLock_);
    if (started_ || ending_)
        return;
    auto* start = new (std::nothrow) RelayStart;
    if (!start)
        return;
    try {
        start->relay = shared_from_this();
        // Room for a burst of events, so that queuing one seldom allocates.
        queue_.reserve(64);
    } catch (const std::exception&) {
        delete start;
        return;
    }
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(&EventRelay::ThreadMain), &start->module);
    win::Handle thread(CreateThread(nullptr, 0, &EventRelay::ThreadMain, start, 0, nullptr));
    if (!thread) {
        if (start->module)
            FreeLibrary(start->module);
        delete start;
        return;
    }
    started_ = true;
}

DWORD WINAPI EventRelay::ThreadMain(void* start)
{
    HMODULE module = nullptr;
    {
        std::unique_ptr<RelayStart> held(static_cast<RelayStart*>(start));
        module = held->module;
        held->relay->Post();
    }
    if (module)
        FreeLibraryAndExitThread(module, 0);
    return 0;
}

void EventRelay::Notify(long code, LONG_PTR param1, LONG_PTR param2)
{
    bool queued = false;
    bool wakePoster = false;
    {
        win::AutoLock hold(queueLock_);
        if (ending_)
            return;
        if (started_) {
            try {
                queue_.push_back({code, param1, param2});
                queued = true;
                // A progress event may wait for the poster's gathering; any other is news the
                // application acts on at once.
                urgent_ = urgent_ || code != EC_WRITER_PROGRESS;
                wakePoster = posterWaiting_ || (gathering_ && urgent_);
                posterWaiting_ = false;
            } catch (const std::bad_alloc&) {
            }
        }
    }
    if (wakePoster)
        eventsCame_.Set();
    // No posting thread, or no room to queue: passed on at once.
    if (!queued)
        Pass({code, param1, param2});
}

void EventRelay::Post()
{
    std::vector<Event> batch;
    try {
        batch.reserve(64);
    } catch (const std::bad_alloc&) {
    }
    bool gathered = false;
    for (;;) {
        bool wakeFlusher = false;
        bool ending = false;
        bool gather = false;
        {
            win::AutoLock hold(queueLock_);
            posting_ = false;
            gathering_ = false;
            ending = ending_;
            if (ending)
                queue_.clear();
            if (queue_.empty()) {
                posterWaiting_ = !ending;
                wakeFlusher = flusherWaiting_;
                flusherWaiting_ = false;
            } else if (!gathered && !urgent_ && !flusherWaiting_) {
                gather = gathering_ = true;
            } else {
                batch.swap(queue_);
                posting_ = true;
                urgent_ = false;
                gathered = false;
            }
        }
        if (wakeFlusher)
            drained_.Set();
        if (ending)
            return;
        if (gather) {
            // Progress events that come close together go out together: the poster and the
            // graph's reader then wake once for the lot instead of once for each.
            eventsCame_.Wait(kGatherMs);
            gathered = true;
            continue;
        }
        if (batch.empty()) {
            eventsCame_.Wait(INFINITE);
            continue;
        }
        for (const Event& event : batch)
            Pass(event);
        batch.clear();
    }
}

void EventRelay::Pass(const Event& event)
{
    win::AutoLock hold(targetLock_);
    if (!target_)
        return;
    if (!TraceEnabled()) {
        target_->Notify(event.code, event.param1, event.param2);
        return;
    }
    const int64_t before = TraceTicks();
    target_->Notify(event.code, event.param1, event.param2);
    const double ms = TraceMs(TraceTicks() - before);
    if (ms >= kSlowPassMs)
        TraceLine("event 0x%lX took %.1f ms to post", event.code, ms);
}

bool EventRelay::Flush(DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        {
            win::AutoLock hold(queueLock_);
            if (!started_ || ending_ || (queue_.empty() && !posting_)) {
                flusherWaiting_ = false;
                return true;
            }
            flusherWaiting_ = true;
            if (gathering_)
                eventsCame_.Set();
        }
        const DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs) {
            win::AutoLock hold(queueLock_);
            flusherWaiting_ = false;
            return false;
        }
        drained_.Wait(timeoutMs == INFINITE ? INFINITE : timeoutMs - waited);
    }
}

void EventRelay::Detach()
{
    {
        win::AutoLock hold(queueLock_);
        ending_ = true;
        queue_.clear();
        posterWaiting_ = false;
    }
    eventsCame_.Set();
    win::AutoLock hold(targetLock_);
    target_ = nullptr;
}

}  // namespace scrivet
