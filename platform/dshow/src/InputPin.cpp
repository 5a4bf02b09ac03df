#include "dshowbase/Pins.h"

#include <evcode.h>

#include <new>

#include "dshowbase/BaseFilter.h"
#include "dshowbase/MemAllocator.h"

namespace dshow {

InputPin::InputPin(BaseFilter* filter, win::CritSec* lock, const wchar_t* name)
    : BasePin(filter, lock, name, PINDIR_INPUT)
{
}

InputPin::~InputPin()
{
    if (allocator_)
        allocator_->Release();
}

HRESULT STDMETHODCALLTYPE InputPin::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IMemInputPin)
        return GetInterface(static_cast<IMemInputPin*>(this), out);
    return BasePin::NonDelegatingQueryInterface(iid, out);
}

STDMETHODIMP InputPin::GetAllocator(IMemAllocator** allocator)
{
    if (!allocator)
        return E_POINTER;
    win::AutoLock lock(*lock_);
    if (!allocator_) {
        auto* created = new (std::nothrow) MemAllocator;
        if (!created) {
            *allocator = nullptr;
            return E_OUTOFMEMORY;
        }
        created->AddRef();
        allocator_ = created;
    }
    *allocator = allocator_;
    allocator_->AddRef();
    return S_OK;
}

STDMETHODIMP InputPin::NotifyAllocator(IMemAllocator* allocator, BOOL read_only)
{
    if (!allocator)
        return E_POINTER;
    win::AutoLock lock(*lock_);
    allocator->AddRef();
    if (allocator_)
        allocator_->Release();
    allocator_ = allocator;
    readOnly_ = read_only != FALSE;
    return S_OK;
}

STDMETHODIMP InputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) { return E_NOTIMPL; }

HRESULT InputPin::CheckStreaming()
{
    if (!IsConnected())
        return VFW_E_NOT_CONNECTED;
    if (IsStopped())
        return VFW_E_WRONG_STATE;
    if (flushing_ || runtimeError_)
        return S_FALSE;
    return S_OK;
}

STDMETHODIMP InputPin::Receive(IMediaSample* sample)
{
    if (!sample)
        return E_POINTER;
    return CheckStreaming();
}

STDMETHODIMP InputPin::ReceiveMultiple(IMediaSample** samples, long count, long* processed)
{
    if (!samples || !processed)
        return E_POINTER;
    *processed = 0;
    HRESULT hr = S_OK;
    while (*processed < count) {
        hr = Receive(samples[*processed]);
        if (hr != S_OK)
            break;
        ++*processed;
    }
    return hr;
}

STDMETHODIMP InputPin::ReceiveCanBlock() { return S_OK; }

STDMETHODIMP InputPin::BeginFlush()
{
    win::AutoLock lock(*lock_);
    flushing_ = true;
    return S_OK;
}

STDMETHODIMP InputPin::EndFlush()
{
    win::AutoLock lock(*lock_);
    flushing_ = false;
    runtimeError_ = false;
    return S_OK;
}

HRESULT InputPin::BreakConnect()
{
    if (allocator_) {
        allocator_->Release();
        allocator_ = nullptr;
    }
    readOnly_ = false;
    return S_OK;
}

HRESULT InputPin::Inactive()
{
    runtimeError_ = false;
    flushing_ = false;
    // Frees an upstream thread waiting for one of our buffers.
    if (allocator_)
        return allocator_->Decommit();
    return S_OK;
}

void InputPin::RaiseRuntimeError(HRESULT error)
{
    if (runtimeError_)
        return;
    runtimeError_ = true;
    filter_->NotifyEvent(EC_ERRORABORT, error, 0);
}

RenderedInputPin::RenderedInputPin(BaseFilter* filter, win::CritSec* lock, const wchar_t* name)
    : InputPin(filter, lock, name)
{
}

STDMETHODIMP RenderedInputPin::EndOfStream()
{
    bool complete = false;
    {
        win::AutoLock lock(*lock_);
        const HRESULT hr = CheckStreaming();
        if (hr != S_OK)
            return hr;
        atEndOfStream_ = true;
        complete = filter_->State() == State_Running && !completionSent_;
        completionSent_ = completionSent_ || complete;
    }
    // The graph's event sink is called without the filter lock, so a graph thread changing
    // our state at the same moment cannot deadlock with it.
    if (complete)
        filter_->NotifyEvent(EC_COMPLETE, S_OK, 0);
    return S_OK;
}

STDMETHODIMP RenderedInputPin::EndFlush()
{
    win::AutoLock lock(*lock_);
    atEndOfStream_ = false;
    completionSent_ = false;
    return InputPin::EndFlush();
}

HRESULT RenderedInputPin::Active()
{
    atEndOfStream_ = false;
    completionSent_ = false;
    return InputPin::Active();
}

HRESULT RenderedInputPin::Run(REFERENCE_TIME start)
{
    if (atEndOfStream_)
        DeliverCompletion();
    return InputPin::Run(start);
}

void RenderedInputPin::DeliverCompletion()
{
    if (completionSent_)
        return;
    completionSent_ = true;
    filter_->NotifyEvent(EC_COMPLETE, S_OK, 0);
}

}  // namespace dshow
