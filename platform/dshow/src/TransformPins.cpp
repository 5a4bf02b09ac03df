#include "dshowbase/TransformFilter.h"

#include <new>

#include <win/ComPtr.h>
#include "dshowbase/SeekingPassThru.h"

namespace dshow {

TransformInputPin::TransformInputPin(TransformFilter* filter, win::CritSec* lock, const wchar_t* name)
    : InputPin(filter, lock, name), transform_(filter)
{
}

STDMETHODIMP TransformInputPin::Receive(IMediaSample* sample)
{
    win::AutoLock lock(*transform_->ReceiveLock());
    const HRESULT hr = InputPin::Receive(sample);
    if (hr != S_OK)
        return hr;
    return transform_->Receive(sample);
}

STDMETHODIMP TransformInputPin::ReceiveCanBlock()
{
    IMemInputPin* downstream = transform_->Output()->PeerInput();
    return downstream ? downstream->ReceiveCanBlock() : S_FALSE;
}

STDMETHODIMP TransformInputPin::EndOfStream()
{
    win::AutoLock lock(*transform_->ReceiveLock());
    const HRESULT hr = CheckStreaming();
    if (hr != S_OK)
        return hr;
    return transform_->EndOfStream();
}

STDMETHODIMP TransformInputPin::BeginFlush()
{
    win::AutoLock lock(*lock_);
    if (!IsConnected() || !transform_->Output()->IsConnected())
        return VFW_E_NOT_CONNECTED;
    const HRESULT hr = InputPin::BeginFlush();
    if (FAILED(hr))
        return hr;
    return transform_->BeginFlush();
}

STDMETHODIMP TransformInputPin::EndFlush()
{
    win::AutoLock lock(*lock_);
    if (!IsConnected() || !transform_->Output()->IsConnected())
        return VFW_E_NOT_CONNECTED;
    const HRESULT hr = transform_->EndFlush();
    if (FAILED(hr))
        return hr;
    return InputPin::EndFlush();
}

STDMETHODIMP TransformInputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    InputPin::NewSegment(start, stop, rate);
    return transform_->NewSegment(start, stop, rate);
}

HRESULT TransformInputPin::CheckMediaType(const MediaType& type)
{
    return transform_->CheckInputType(type);
}

HRESULT TransformInputPin::SetMediaType(const MediaType& type)
{
    const HRESULT hr = InputPin::SetMediaType(type);
    return FAILED(hr) ? hr : transform_->SetMediaType(PINDIR_INPUT, type);
}

HRESULT TransformInputPin::CompleteConnect(IPin* receive_pin)
{
    const HRESULT hr = transform_->CompleteConnect(PINDIR_INPUT, receive_pin);
    return FAILED(hr) ? hr : InputPin::CompleteConnect(receive_pin);
}

HRESULT TransformInputPin::BreakConnect()
{
    transform_->BreakConnect(PINDIR_INPUT);
    return InputPin::BreakConnect();
}

TransformOutputPin::TransformOutputPin(TransformFilter* filter, win::CritSec* lock, const wchar_t* name)
    : OutputPin(filter, lock, name), transform_(filter)
{
}

TransformOutputPin::~TransformOutputPin() { delete seeking_; }

HRESULT STDMETHODCALLTYPE TransformOutputPin::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IMediaSeeking || iid == IID_IMediaPosition) {
        win::AutoLock lock(seekingLock_);
        if (!seeking_) {
            seeking_ = new (std::nothrow) SeekingPassThru(Owner(), transform_->Input());
            if (!seeking_) {
                *out = nullptr;
                return E_OUTOFMEMORY;
            }
        }
        return seeking_->NonDelegatingQueryInterface(iid, out);
    }
    return OutputPin::NonDelegatingQueryInterface(iid, out);
}

HRESULT TransformOutputPin::CheckMediaType(const MediaType& type)
{
    TransformInputPin* input = transform_->Input();
    if (!input->IsConnected())
        return VFW_E_NOT_CONNECTED;
    return transform_->CheckTransform(input->CurrentMediaType(), type);
}

HRESULT TransformOutputPin::GetMediaType(int position, MediaType* type)
{
    if (!transform_->Input()->IsConnected())
        return E_UNEXPECTED;
    return transform_->GetMediaType(position, type);
}

HRESULT TransformOutputPin::SetMediaType(const MediaType& type)
{
    const HRESULT hr = OutputPin::SetMediaType(type);
    return FAILED(hr) ? hr : transform_->SetMediaType(PINDIR_OUTPUT, type);
}

HRESULT TransformOutputPin::CompleteConnect(IPin* receive_pin)
{
    const HRESULT hr = OutputPin::CompleteConnect(receive_pin);
    return FAILED(hr) ? hr : transform_->CompleteConnect(PINDIR_OUTPUT, receive_pin);
}

HRESULT TransformOutputPin::BreakConnect()
{
    transform_->BreakConnect(PINDIR_OUTPUT);
    return OutputPin::BreakConnect();
}

HRESULT TransformOutputPin::DecideAllocator(IMemInputPin* peer, IMemAllocator** allocator)
{
    return transform_->DecideAllocator(peer, allocator);
}

HRESULT TransformOutputPin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    return transform_->DecideBufferSize(allocator, request);
}

HRESULT TransformOutputPin::PassNotify(Quality quality)
{
    IPin* upstream = transform_->Input()->ConnectedPin();
    if (!upstream)
        return VFW_E_NOT_CONNECTED;
    win::ComPtr<IQualityControl> control;
    if (FAILED(upstream->QueryInterface(IID_IQualityControl, control.PutVoid())))
        return VFW_E_NOT_FOUND;
    return control->Notify(transform_, quality);
}

}  // namespace dshow
