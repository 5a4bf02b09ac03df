#include "dshowbase/BaseFilter.h"

#include <evcode.h>

#include <cwchar>
#include <new>

#include "dshowbase/BasePin.h"
#include <win/ComPtr.h>
#include "dshowbase/Enumerators.h"

namespace dshow {

BaseFilter::BaseFilter(IUnknown* outer, win::CritSec* lock, const CLSID& clsid)
    : UnknownBase(outer), lock_(lock), clsid_(clsid)
{
}

BaseFilter::~BaseFilter()
{
    if (clock_)
        clock_->Release();
}

HRESULT STDMETHODCALLTYPE BaseFilter::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IBaseFilter)
        return GetInterface(static_cast<IBaseFilter*>(this), out);
    if (iid == IID_IMediaFilter)
        return GetInterface(static_cast<IMediaFilter*>(this), out);
    if (iid == IID_IPersist)
        return GetInterface(static_cast<IPersist*>(this), out);
    return UnknownBase::NonDelegatingQueryInterface(iid, out);
}

STDMETHODIMP BaseFilter::GetClassID(CLSID* clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = clsid_;
    return S_OK;
}

STDMETHODIMP BaseFilter::Stop()
{
    win::AutoLock lock(*lock_);
    HRESULT result = S_OK;
    if (state_ != State_Stopped) {
        for (int i = 0; i < GetPinCount(); ++i) {
            BasePin* pin = GetPin(i);
            if (pin && pin->IsConnected()) {
                const HRESULT hr = pin->Inactive();
                if (FAILED(hr) && SUCCEEDED(result))
                    result = hr;
            }
        }
    }
    state_ = State_Stopped;
    return result;
}

STDMETHODIMP BaseFilter::Pause()
{
    win::AutoLock lock(*lock_);
    if (state_ == State_Stopped) {
        for (int i = 0; i < GetPinCount(); ++i) {
            BasePin* pin = GetPin(i);
            if (pin && pin->IsConnected()) {
                const HRESULT hr = pin->Active();
                if (FAILED(hr))
                    return hr;
            }
        }
    }
    state_ = State_Paused;
    return S_OK;
}

STDMETHODIMP BaseFilter::Run(REFERENCE_TIME start)
{
    win::AutoLock lock(*lock_);
    start_ = start;
    if (state_ == State_Stopped) {
        const HRESULT hr = Pause();
        if (FAILED(hr))
            return hr;
    }
    if (state_ != State_Running) {
        for (int i = 0; i < GetPinCount(); ++i) {
            BasePin* pin = GetPin(i);
            if (pin && pin->IsConnected()) {
                const HRESULT hr = pin->Run(start);
                if (FAILED(hr))
                    return hr;
            }
        }
    }
    state_ = State_Running;
    return S_OK;
}

STDMETHODIMP BaseFilter::GetState(DWORD, FILTER_STATE* state)
{
    if (!state)
        return E_POINTER;
    *state = state_;
    return S_OK;
}

STDMETHODIMP BaseFilter::SetSyncSource(IReferenceClock* clock)
{
    win::AutoLock lock(*lock_);
    if (clock)
        clock->AddRef();
    if (clock_)
        clock_->Release();
    clock_ = clock;
    return S_OK;
}

STDMETHODIMP BaseFilter::GetSyncSource(IReferenceClock** clock)
{
    if (!clock)
        return E_POINTER;
    win::AutoLock lock(*lock_);
    *clock = clock_;
    if (clock_)
        clock_->AddRef();
    return S_OK;
}

STDMETHODIMP BaseFilter::EnumPins(IEnumPins** pins)
{
    if (!pins)
        return E_POINTER;
    auto* enumerator = new (std::nothrow) PinEnumerator(this);
    if (!enumerator) {
        *pins = nullptr;
        return E_OUTOFMEMORY;
    }
    return enumerator->QueryInterface(IID_IEnumPins, reinterpret_cast<void**>(pins));
}

STDMETHODIMP BaseFilter::FindPin(LPCWSTR id, IPin** pin)
{
    if (!id || !pin)
        return E_POINTER;
    win::AutoLock lock(*lock_);
    for (int i = 0; i < GetPinCount(); ++i) {
        BasePin* candidate = GetPin(i);
        if (candidate && candidate->Name() == id) {
            *pin = candidate;
            candidate->AddRef();
            return S_OK;
        }
    }
    *pin = nullptr;
    return VFW_E_NOT_FOUND;
}

STDMETHODIMP BaseFilter::QueryFilterInfo(FILTER_INFO* info)
{
    if (!info)
        return E_POINTER;
    const size_t capacity = sizeof(info->achName) / sizeof(info->achName[0]);
    wcsncpy(info->achName, name_.c_str(), capacity - 1);
    info->achName[capacity - 1] = L'\0';
    info->pGraph = graph_;
    if (graph_)
        graph_->AddRef();
    return S_OK;
}

STDMETHODIMP BaseFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name)
{
    win::AutoLock lock(*lock_);
    graph_ = graph;
    sink_ = nullptr;
    if (graph) {
        win::ComPtr<IMediaEventSink> sink;
        if (SUCCEEDED(graph->QueryInterface(IID_IMediaEventSink, sink.PutVoid())))
            sink_ = sink.Get();  // the graph keeps the sink alive for as long as we are in it
    }
    name_ = name ? name : L"";
    return S_OK;
}

STDMETHODIMP BaseFilter::QueryVendorInfo(LPWSTR* info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT BaseFilter::NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2)
{
    IMediaEventSink* sink = sink_;
    if (!sink)
        return E_NOTIMPL;
    if (code == EC_COMPLETE && param2 == 0)
        param2 = reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(this));
    return sink->Notify(code, param1, param2);
}

}  // namespace dshow
