#include "PassThroughFilters.h"

#include <uuids.h>

#include <new>

namespace testbed {

PassThroughFilter::PassThroughFilter(IUnknown* outer, const CLSID& clsid, const GUID& major)
    : dshow::InPlaceTransformFilter(outer, clsid), major_(major)
{
}

HRESULT PassThroughFilter::CheckInputType(const dshow::MediaType& input)
{
    return major_ == GUID_NULL || input.majortype == major_ ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT PassThroughFilter::Transform(IMediaSample*) { return S_OK; }

dshow::INonDelegatingUnknown* FlowControlFilter::Create(IUnknown* outer, HRESULT* hr)
{
    auto* filter = new (std::nothrow) FlowControlFilter(outer);
    if (!filter) *hr = E_OUTOFMEMORY;
    return filter;
}

FlowControlFilter::FlowControlFilter(IUnknown* outer) : PassThroughFilter(outer, kClsidFlowControl, GUID_NULL) {}

HRESULT FlowControlFilter::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    if (iid == __uuidof(IFlowControl)) return GetInterface(static_cast<IFlowControl*>(this), out);
    return PassThroughFilter::NonDelegatingQueryInterface(iid, out);
}

HRESULT FlowControlFilter::Transform(IMediaSample*)
{
    if (!pass_) return S_FALSE;  // held back: dropped, so a live source upstream never stalls
    InterlockedIncrement(&passed_);
    return S_OK;
}

STDMETHODIMP FlowControlFilter::Flush()
{
    // Clears what the downstream filters hold (the last picture queued in a renderer).
    if (!Output()->IsConnected() || IsStopped()) return S_OK;
    Output()->DeliverBeginFlush();
    {
        win::AutoLock receive(*ReceiveLock());  // no sample is on its way any more
    }
    Output()->DeliverEndFlush();
    return S_OK;
}

STDMETHODIMP FlowControlFilter::SetMode(BYTE pass)
{
    InterlockedExchange(&pass_, pass ? 1 : 0);
    return S_OK;
}

STDMETHODIMP FlowControlFilter::GetMode(BYTE* pass)
{
    if (!pass) return E_POINTER;
    *pass = pass_ ? 1 : 0;
    return S_OK;
}

dshow::INonDelegatingUnknown* OverlayMixerFilter::Create(IUnknown* outer, HRESULT* hr)
{
    auto* filter = new (std::nothrow) OverlayMixerFilter(outer);
    if (!filter) *hr = E_OUTOFMEMORY;
    return filter;
}

OverlayMixerFilter::OverlayMixerFilter(IUnknown* outer)
    : PassThroughFilter(outer, kClsidOverlayMixer, MEDIATYPE_Video)
{
}

HRESULT OverlayMixerFilter::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    if (iid == IID_IDirectDrawVideo) return GetInterface(static_cast<IDirectDrawVideo*>(this), out);
    return PassThroughFilter::NonDelegatingQueryInterface(iid, out);
}

HRESULT OverlayMixerFilter::Answer(LONG* out, LONG value)
{
    if (!out) return E_POINTER;
    *out = value;
    return S_OK;
}

STDMETHODIMP OverlayMixerFilter::UseWhenFullScreen(LONG use)
{
    fullScreen_ = use ? 1 : 0;
    return S_OK;
}

dshow::INonDelegatingUnknown* CreateAudioTypeChanger(IUnknown* outer, HRESULT* hr)
{
    auto* filter = new (std::nothrow) PassThroughFilter(outer, kClsidAudioTypeChanger, MEDIATYPE_Audio);
    if (!filter) *hr = E_OUTOFMEMORY;
    return filter;
}

}  // namespace testbed
