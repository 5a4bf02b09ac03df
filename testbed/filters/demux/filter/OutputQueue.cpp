#include "OutputQueue.h"

#include <algorithm>
#include <cstring>

#include <dshowbase/BaseFilter.h>
#include <win/ComPtr.h>

namespace testbed {
namespace {

// About a second of MPEG-2 video at a high rate, many seconds of audio.
constexpr size_t kMaxQueuedBytes = size_t(2) << 20;
constexpr size_t kMaxQueuedItems = 256;
// A running output whose downstream has held one delivery this long is stalled. Renderers
// wait at most a frame or an audio buffer's worth for their clock, far less than this.
constexpr DWORD kStallMs = 2000;

}  // namespace

OutputQueue::OutputQueue(dshow::OutputPin* pin)
    : pin_(pin),
      wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      room_(CreateEventW(nullptr, TRUE, TRUE, nullptr)),
      idle_(CreateEventW(nullptr, TRUE, TRUE, nullptr)),
      stopping_(true)
{
}

OutputQueue::~OutputQueue() { Stop(); }

HRESULT OutputQueue::Start()
{
    if (thread_) return S_OK;
    if (!wake_ || !room_ || !idle_) return E_OUTOFMEMORY;
    {
        win::AutoLock lock(lock_);
        items_.clear();
        queuedBytes_ = 0;
        stopping_ = flushing_ = dropping_ = endOfStream_ = refused_ = held_ = false;
        busy_ = sawRunning_ = false;
        dropped_ = 0;
        SetEvent(room_.Get());
        SetEvent(idle_.Get());
    }
    thread_.Reset(CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr));
    return thread_ ? S_OK : HRESULT_FROM_WIN32(GetLastError());
}

void OutputQueue::Stop()
{
    {
        win::AutoLock lock(lock_);
        stopping_ = true;
        items_.clear();
        queuedBytes_ = 0;
        SetEvent(wake_.Get());
        SetEvent(room_.Get());  // an input waiting for room gives up
    }
    if (!thread_) return;
    WaitForSingleObject(thread_.Get(), INFINITE);
    thread_.Reset();
    if (dropped_ > 0) {
        char line[160];
        wsprintfA(line, "TestbedFilters: demultiplexer output \"%ls\" dropped %ld packets while stalled\r\n",
                  pin_->Name().c_str(), dropped_);
        OutputDebugStringA(line);
    }
}

bool OutputQueue::WaitForRoom()
{
    for (;;) {
        {
            win::AutoLock lock(lock_);
            if (!AcceptsLocked()) return false;
            if (queuedBytes_ < kMaxQueuedBytes && items_.size() < kMaxQueuedItems) return true;
            // Stalled: one delivery has been held this long, all of it while running (a
            // delivery held through a pause is released by the Run that follows).
            const DWORD now = GetTickCount();
            const bool running = pin_->Filter()->State() == State_Running;
            if (running && !sawRunning_) runningSince_ = now;
            sawRunning_ = running;
            if (busy_ && running && std::min(now - busySince_, now - runningSince_) > kStallMs) {
                ++dropped_;
                dropping_ = true;
                return false;
            }
        }
        // Woken when the thread takes an item; the timeout re-checks for a stall.
        WaitForSingleObject(room_.Get(), 100);
    }
}

void OutputQueue::Push(std::vector<uint8_t> bytes, REFERENCE_TIME time, bool discontinuity)
{
    if (bytes.empty() || !WaitForRoom()) return;
    win::AutoLock lock(lock_);
    if (!AcceptsLocked()) return;
    Item item;
    item.time = time;
    item.discontinuity = discontinuity || dropping_;
    dropping_ = false;
    queuedBytes_ += bytes.size();
    item.bytes = std::move(bytes);
    items_.push_back(std::move(item));
    if (queuedBytes_ >= kMaxQueuedBytes || items_.size() >= kMaxQueuedItems) ResetEvent(room_.Get());
    SetEvent(wake_.Get());
}

void OutputQueue::PushEndOfStream()
{
    win::AutoLock lock(lock_);
    if (!AcceptsLocked()) return;
    Item item;
    item.endOfStream = true;
    items_.push_back(std::move(item));
    endOfStream_ = true;
    SetEvent(wake_.Get());
}

void OutputQueue::BeginFlush()
{
    {
        win::AutoLock lock(lock_);
        flushing_ = true;
        items_.clear();
        queuedBytes_ = 0;
        SetEvent(room_.Get());
        SetEvent(wake_.Get());  // a delivery waiting for Run gives up
    }
    pin_->DeliverBeginFlush();  // frees a delivery held downstream
}

void OutputQueue::EndFlush()
{
    WaitForSingleObject(idle_.Get(), INFINITE);
    {
        win::AutoLock lock(lock_);
        flushing_ = dropping_ = endOfStream_ = refused_ = held_ = false;
    }
    pin_->DeliverEndFlush();
}

void OutputQueue::Hold()
{
    win::AutoLock lock(lock_);
    held_ = true;
}

void OutputQueue::Release()
{
    win::AutoLock lock(lock_);
    held_ = false;
    SetEvent(wake_.Get());
}

bool OutputQueue::WaitWhileHeld()
{
    win::AutoLock lock(lock_);
    while (held_ && !stopping_ && !flushing_) {
        lock_.Unlock();
        WaitForSingleObject(wake_.Get(), INFINITE);
        lock_.Lock();
    }
    return !stopping_ && !flushing_;
}

DWORD WINAPI OutputQueue::ThreadMain(void* self)
{
    static_cast<OutputQueue*>(self)->Run();
    return 0;
}

void OutputQueue::Run()
{
    for (;;) {
        Item item;
        {
            win::AutoLock lock(lock_);
            if (stopping_) return;
            if (items_.empty()) {
                lock_.Unlock();
                WaitForSingleObject(wake_.Get(), INFINITE);
                lock_.Lock();
                continue;
            }
            item = std::move(items_.front());
            items_.pop_front();
            queuedBytes_ -= item.bytes.size();
            SetEvent(room_.Get());
            ResetEvent(idle_.Get());
            busy_ = true;
            busySince_ = GetTickCount();
        }
        const HRESULT hr = Deliver(item);
        win::AutoLock lock(lock_);
        if (hr != S_OK) OnRefusedLocked(hr);
        busy_ = false;
        SetEvent(idle_.Get());
    }
}

void OutputQueue::OnRefusedLocked(HRESULT hr)
{
    if (refused_) return;
    refused_ = true;
    items_.clear();
    queuedBytes_ = 0;
    SetEvent(room_.Get());  // an input waiting for room drops its packet instead
    // While the graph stops, every output is refused as its downstream stops first: only a
    // refusal while running is news.
    if (stopping_ || flushing_ || pin_->Filter()->State() != State_Running) return;
    char line[160];
    wsprintfA(line, "TestbedFilters: demultiplexer output \"%ls\" stops: downstream refused a sample (0x%08lX)\r\n",
              pin_->Name().c_str(), static_cast<unsigned long>(hr));
    OutputDebugStringA(line);
}

HRESULT OutputQueue::Deliver(const Item& item)
{
    if (item.endOfStream) return WaitWhileHeld() ? pin_->DeliverEndOfStream() : S_FALSE;
    const uint8_t* data = item.bytes.data();
    size_t size = item.bytes.size();
    REFERENCE_TIME time = item.time;
    bool discontinuity = item.discontinuity;
    while (size > 0) {
        win::ComPtr<IMediaSample> sample;
        HRESULT hr = pin_->GetDeliveryBuffer(sample.Put(), nullptr, nullptr, 0);
        if (FAILED(hr)) return hr;  // decommitted: stopping
        BYTE* dst = nullptr;
        sample->GetPointer(&dst);
        size_t n = std::min(size, size_t(sample->GetSize()));
        if (n < size) n &= ~size_t(3);  // a split never cuts a 16-bit stereo sample
        if (n == 0) return E_FAIL;
        std::memcpy(dst, data, n);
        sample->SetActualDataLength(long(n));
        if (time >= 0) {
            // A start time only: the packet's length in time is the decoder's business.
            sample->SetTime(&time, nullptr);
            sample->SetSyncPoint(TRUE);
            time = -1;  // only the first piece carries the timestamp
        }
        if (discontinuity) {
            sample->SetDiscontinuity(TRUE);
            discontinuity = false;
        }
        if (!WaitWhileHeld()) return S_FALSE;  // stopping or flushing meanwhile
        hr = pin_->Deliver(sample.Get());
        if (hr != S_OK) return hr;  // S_FALSE: downstream is flushing, the rest is stale
        data += n;
        size -= n;
    }
    return S_OK;
}

}  // namespace testbed
