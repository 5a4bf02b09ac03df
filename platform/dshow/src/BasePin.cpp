#include "dshowbase/BasePin.h"

#include <cwchar>
#include <new>

#include "dshowbase/BaseFilter.h"
#include <win/ComPtr.h>
#include "dshowbase/Enumerators.h"

namespace dshow {

BasePin::BasePin(BaseFilter* filter, win::CritSec* lock, const wchar_t* name, PIN_DIRECTION direction)
    : UnknownBase(nullptr), lock_(lock), filter_(filter), name_(name ? name : L""),
      direction_(direction)
{
}

BasePin::~BasePin()
{
    if (connected_)
        connected_->Release();
}

HRESULT STDMETHODCALLTYPE BasePin::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IPin)
        return GetInterface(static_cast<IPin*>(this), out);
    if (iid == IID_IQualityControl)
        return GetInterface(static_cast<IQualityControl*>(this), out);
    return UnknownBase::NonDelegatingQueryInterface(iid, out);
}

ULONG STDMETHODCALLTYPE BasePin::NonDelegatingAddRef() { return filter_->Owner()->AddRef(); }

ULONG STDMETHODCALLTYPE BasePin::NonDelegatingRelease() { return filter_->Owner()->Release(); }

bool BasePin::IsStopped() const { return filter_->IsStopped(); }

STDMETHODIMP BasePin::Connect(IPin* receive_pin, const AM_MEDIA_TYPE* type)
{
    if (!receive_pin)
        return E_POINTER;
    win::AutoLock lock(*lock_);
    if (connected_)
        return VFW_E_ALREADY_CONNECTED;
    if (!IsStopped())
        return VFW_E_NOT_STOPPED;
    if (!type)
        return AgreeMediaType(receive_pin, nullptr);
    const MediaType partial(*type);
    return AgreeMediaType(receive_pin, &partial);
}

HRESULT BasePin::AgreeMediaType(IPin* receive_pin, const MediaType* partial)
{
    if (partial && !partial->IsPartiallySpecified())
        return AttemptConnection(receive_pin, *partial);

    HRESULT failure = VFW_E_NO_ACCEPTABLE_TYPES;
    // The receiving pin's preferences first, then ours.
    for (int round = 0; round < 2; ++round) {
        win::ComPtr<IEnumMediaTypes> types;
        const HRESULT hr = round == 0 ? receive_pin->EnumMediaTypes(types.Put())
                                      : EnumMediaTypes(types.Put());
        if (FAILED(hr) || !types)
            continue;
        const HRESULT attempt = TryTypes(receive_pin, partial, types.Get());
        if (SUCCEEDED(attempt))
            return S_OK;
        if (attempt != VFW_E_NO_ACCEPTABLE_TYPES && attempt != VFW_E_TYPE_NOT_ACCEPTED)
            failure = attempt;
    }
    return failure;
}

HRESULT BasePin::TryTypes(IPin* receive_pin, const MediaType* partial, IEnumMediaTypes* types)
{
    HRESULT failure = VFW_E_NO_ACCEPTABLE_TYPES;
    for (;;) {
        AM_MEDIA_TYPE* next = nullptr;
        ULONG fetched = 0;
        if (types->Next(1, &next, &fetched) != S_OK || fetched != 1 || !next)
            break;
        const MediaType candidate(*next);
        DeleteMediaType(next);
        if (partial && !partial->MatchesPartial(candidate))
            continue;
        const HRESULT hr = AttemptConnection(receive_pin, candidate);
        if (SUCCEEDED(hr))
            return S_OK;
        failure = hr;
    }
    return failure;
}

HRESULT BasePin::AttemptConnection(IPin* receive_pin, const MediaType& type)
{
    HRESULT hr = CheckConnect(receive_pin);
    if (FAILED(hr)) {
        BreakConnect();
        return hr;
    }
    hr = CheckMediaType(type);
    if (hr != S_OK) {
        BreakConnect();
        return FAILED(hr) && hr != E_FAIL ? hr : VFW_E_TYPE_NOT_ACCEPTED;
    }
    connected_ = receive_pin;
    connected_->AddRef();
    hr = SetMediaType(type);
    if (SUCCEEDED(hr)) {
        hr = receive_pin->ReceiveConnection(static_cast<IPin*>(this), &type);
        if (SUCCEEDED(hr)) {
            hr = CompleteConnect(receive_pin);
            if (SUCCEEDED(hr))
                return S_OK;
            receive_pin->Disconnect();
        }
    }
    BreakConnect();
    DropConnection();
    return hr == E_FAIL ? VFW_E_TYPE_NOT_ACCEPTED : hr;
}

STDMETHODIMP BasePin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type)
{
    if (!connector || !type)
        return E_POINTER;
    win::AutoLock lock(*lock_);
    if (connected_)
        return VFW_E_ALREADY_CONNECTED;
    if (!IsStopped())
        return VFW_E_NOT_STOPPED;
    HRESULT hr = CheckConnect(connector);
    if (FAILED(hr)) {
        BreakConnect();
        return hr;
    }
    const MediaType offered(*type);
    hr = CheckMediaType(offered);
    if (hr != S_OK) {
        BreakConnect();
        return FAILED(hr) && hr != E_FAIL ? hr : VFW_E_TYPE_NOT_ACCEPTED;
    }
    connected_ = connector;
    connected_->AddRef();
    hr = SetMediaType(offered);
    if (SUCCEEDED(hr))
        hr = CompleteConnect(connector);
    if (SUCCEEDED(hr))
        return S_OK;
    BreakConnect();
    DropConnection();
    return hr;
}

STDMETHODIMP BasePin::Disconnect()
{
    win::AutoLock lock(*lock_);
    if (!IsStopped())
        return VFW_E_NOT_STOPPED;
    if (!connected_)
        return S_FALSE;
    const HRESULT hr = BreakConnect();
    if (FAILED(hr))
        return hr;
    DropConnection();
    return S_OK;
}

void BasePin::DropConnection()
{
    if (connected_) {
        connected_->Release();
        connected_ = nullptr;
    }
    type_.Clear();
}

STDMETHODIMP BasePin::ConnectedTo(IPin** pin)
{
    if (!pin)
        return E_POINTER;
    // No filter lock: renderers ask from their streaming thread (end of stream, seeking)
    // while Stop may hold the filter lock waiting for that thread. The connection changes
    // only while stopped.
    IPin* peer = connected_;
    *pin = peer;
    if (!peer)
        return VFW_E_NOT_CONNECTED;
    peer->AddRef();
    return S_OK;
}

STDMETHODIMP BasePin::ConnectionMediaType(AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    win::AutoLock lock(*lock_);
    if (!connected_) {
        *type = AM_MEDIA_TYPE{};
        return VFW_E_NOT_CONNECTED;
    }
    return CopyMediaType(type, &type_);
}

STDMETHODIMP BasePin::QueryPinInfo(PIN_INFO* info)
{
    if (!info)
        return E_POINTER;
    info->pFilter = filter_;
    filter_->AddRef();
    info->dir = direction_;
    const size_t capacity = sizeof(info->achName) / sizeof(info->achName[0]);
    wcsncpy(info->achName, name_.c_str(), capacity - 1);
    info->achName[capacity - 1] = L'\0';
    return S_OK;
}

STDMETHODIMP BasePin::QueryDirection(PIN_DIRECTION* direction)
{
    if (!direction)
        return E_POINTER;
    *direction = direction_;
    return S_OK;
}

STDMETHODIMP BasePin::QueryId(LPWSTR* id)
{
    if (!id)
        return E_POINTER;
    const size_t bytes = (name_.size() + 1) * sizeof(wchar_t);
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*id)
        return E_OUTOFMEMORY;
    memcpy(*id, name_.c_str(), bytes);
    return S_OK;
}

STDMETHODIMP BasePin::QueryAccept(const AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    return CheckMediaType(MediaType(*type)) == S_OK ? S_OK : S_FALSE;
}

STDMETHODIMP BasePin::EnumMediaTypes(IEnumMediaTypes** types)
{
    if (!types)
        return E_POINTER;
    auto* enumerator = new (std::nothrow) MediaTypeEnumerator(this);
    if (!enumerator) {
        *types = nullptr;
        return E_OUTOFMEMORY;
    }
    return enumerator->QueryInterface(IID_IEnumMediaTypes, reinterpret_cast<void**>(types));
}

STDMETHODIMP BasePin::QueryInternalConnections(IPin**, ULONG*) { return E_NOTIMPL; }

STDMETHODIMP BasePin::EndOfStream() { return S_OK; }

STDMETHODIMP BasePin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    segmentStart_ = start;
    segmentStop_ = stop;
    segmentRate_ = rate;
    return S_OK;
}

STDMETHODIMP BasePin::Notify(IBaseFilter*, Quality quality)
{
    if (qualitySink_)
        return qualitySink_->Notify(filter_, quality);
    return PassNotify(quality);
}

STDMETHODIMP BasePin::SetSink(IQualityControl* sink)
{
    win::AutoLock lock(*lock_);
    qualitySink_ = sink;
    return S_OK;
}

HRESULT BasePin::PassNotify(Quality) { return VFW_E_NOT_FOUND; }

HRESULT BasePin::GetMediaType(int position, MediaType*)
{
    return position < 0 ? E_INVALIDARG : VFW_S_NO_MORE_ITEMS;
}

HRESULT BasePin::SetMediaType(const MediaType& type)
{
    type_ = type;
    return S_OK;
}

HRESULT BasePin::CheckConnect(IPin* pin)
{
    PIN_DIRECTION other;
    const HRESULT hr = pin->QueryDirection(&other);
    if (FAILED(hr))
        return hr;
    return other == direction_ ? VFW_E_INVALID_DIRECTION : S_OK;
}

HRESULT BasePin::CompleteConnect(IPin*) { return S_OK; }
HRESULT BasePin::BreakConnect() { return S_OK; }
HRESULT BasePin::Active() { return S_OK; }
HRESULT BasePin::Inactive() { return S_OK; }
HRESULT BasePin::Run(REFERENCE_TIME) { return S_OK; }

}  // namespace dshow
