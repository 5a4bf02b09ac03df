#include "dshowbase/PushSource.h"

#include <evcode.h>

#include <win/ComPtr.h>

namespace dshow {

SourceStream::SourceStream(SourceFilter* filter, const wchar_t* name)
    : OutputPin(filter, filter->StateLock(), name), runSignal_(CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
}

SourceStream::~SourceStream() { StopThread(); }

HRESULT SourceStream::Active()
{
    HRESULT hr = OutputPin::Active();
    if (FAILED(hr))
        return hr;
    return StartThread();
}

HRESULT SourceStream::Inactive()
{
    StopThread();
    return OutputPin::Inactive();
}

HRESULT SourceStream::Run(REFERENCE_TIME start)
{
    SetEvent(runSignal_.Get());
    return OutputPin::Run(start);
}

HRESULT SourceStream::StartThread()
{
    if (thread_)
        return S_OK;
    stop_ = false;
    if (filter_->State() == State_Running)
        SetEvent(runSignal_.Get());
    else
        ResetEvent(runSignal_.Get());
    thread_.Reset(CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr));
    return thread_ ? S_OK : HRESULT_FROM_WIN32(GetLastError());
}

void SourceStream::StopThread()
{
    if (!thread_)
        return;
    stop_ = true;
    SetEvent(runSignal_.Get());
    // Decommitting releases a thread waiting for a free buffer; Active commits again.
    if (allocator_)
        allocator_->Decommit();
    WaitForSingleObject(thread_.Get(), INFINITE);
    thread_.Reset();
    if (allocator_ && filter_->IsActive())
        allocator_->Commit();
}

DWORD WINAPI SourceStream::ThreadMain(void* self)
{
    static_cast<SourceStream*>(self)->Stream();
    return 0;
}

void SourceStream::Stream()
{
    if (FAILED(OnThreadStart())) {
        OnThreadStop();
        return;
    }
    while (!stop_) {
        if (!DeliversWhilePaused()) {
            WaitForSingleObject(runSignal_.Get(), INFINITE);
            if (stop_)
                break;
        }
        win::ComPtr<IMediaSample> sample;
        if (FAILED(GetDeliveryBuffer(sample.Put(), nullptr, nullptr, 0)))
            break;  // decommitted: the filter is stopping
        const HRESULT filled = FillBuffer(sample.Get());
        if (stop_)
            break;
        if (filled == S_FALSE) {
            DeliverEndOfStream();
            break;
        }
        if (FAILED(filled)) {
            filter_->NotifyEvent(EC_ERRORABORT, filled, 0);
            DeliverEndOfStream();
            break;
        }
        // S_FALSE from downstream means it is flushing: this sample is dropped and the
        // stream goes on. A failure means it cannot take samples any more.
        if (FAILED(Deliver(sample.Get())))
            break;
    }
    OnThreadStop();
}

SourceFilter::SourceFilter(IUnknown* outer, const CLSID& clsid) : BaseFilter(outer, &filterLock_, clsid) {}

SourceFilter::~SourceFilter() = default;

int SourceFilter::GetPinCount() { return static_cast<int>(streams_.size()); }

BasePin* SourceFilter::GetPin(int index)
{
    if (index < 0 || index >= GetPinCount())
        return nullptr;
    return streams_[static_cast<size_t>(index)].get();
}

void SourceFilter::AddStream(std::unique_ptr<SourceStream> stream)
{
    win::AutoLock lock(filterLock_);
    streams_.push_back(std::move(stream));
    IncrementPinVersion();
}

}  // namespace dshow
