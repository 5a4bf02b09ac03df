#include "CardFilter.h"

#include "CardControl.h"
#include "StreamPin.h"

namespace vcap {

CardFilter::CardFilter(IUnknown* outer, const CLSID& clsid, FilterRole role)
    : SourceFilter(outer, clsid), role_(role)
{
}

HRESULT STDMETHODCALLTYPE CardFilter::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (iid == IID_IPersistPropertyBag)
        return GetInterface(static_cast<IPersistPropertyBag*>(this), out);
    if (iid == IID_IKsPropertySet)
        return GetInterface(static_cast<IKsPropertySet*>(this), out);
    return SourceFilter::NonDelegatingQueryInterface(iid, out);
}

STDMETHODIMP CardFilter::Load(IPropertyBag* bag, IErrorLog*)
{
    if (!bag)
        return E_POINTER;
    dshow::AutoLock lock(FilterLock());
    if (properties_)
        return E_UNEXPECTED;  // a filter stays with the card it was bound to
    VARIANT v;
    VariantInit(&v);
    HRESULT hr = bag->Read(L"DevicePath", &v, nullptr);
    if (FAILED(hr) || v.vt != VT_BSTR) {
        VariantClear(&v);
        return FAILED(hr) ? hr : E_FAIL;
    }
    const std::wstring path = v.bstrVal;  // copied: the bag is reused by the enumerator
    VariantClear(&v);
    FilterRole role;
    if (!FindCardByPath(path, card_, &role))
        return HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);
    cardNumber_ = card_.number;
    if (SUCCEEDED(bag->Read(L"FriendlyName", &v, nullptr)) && v.vt == VT_BSTR)
        friendlyName_ = v.bstrVal;
    VariantClear(&v);
    properties_ = std::make_unique<CardProperties>(card_);
    OnCardKnown();
    return S_OK;
}

STDMETHODIMP CardFilter::Set(REFGUID set, DWORD id, void*, DWORD, void* data, DWORD size)
{
    dshow::AutoLock lock(FilterLock());
    if (!properties_)
        return E_UNEXPECTED;
    return properties_->Set(set, id, data, size);
}

STDMETHODIMP CardFilter::Get(REFGUID set, DWORD id, void*, DWORD, void* data, DWORD size, DWORD* returned)
{
    dshow::AutoLock lock(FilterLock());
    if (!properties_)
        return E_UNEXPECTED;
    return properties_->Get(set, id, data, size, returned);
}

STDMETHODIMP CardFilter::QuerySupported(REFGUID set, DWORD id, DWORD* support)
{
    dshow::AutoLock lock(FilterLock());
    if (!properties_)
        return E_UNEXPECTED;
    return properties_->QuerySupported(set, id, support);
}

dshow::INonDelegatingUnknown* CaptureFilter::Create(IUnknown* outer, HRESULT* hr)
{
    auto* f = new (std::nothrow) CaptureFilter(outer);
    *hr = f ? S_OK : E_OUTOFMEMORY;
    return f;
}

CaptureFilter::CaptureFilter(IUnknown* outer) : CardFilter(outer, *Role(FilterRole::Capture).filterClsid, FilterRole::Capture) {}

CaptureFilter::~CaptureFilter()
{
    if (watcher_) {
        SetEvent(quit_);
        WaitForSingleObject(watcher_, INFINITE);
        CloseHandle(watcher_);
    }
    if (quit_)
        CloseHandle(quit_);
    if (control_)
        CloseHandle(control_);
}

DWORD WINAPI CaptureFilter::WatchMain(void* self)
{
    static_cast<CaptureFilter*>(self)->Watch();
    return 0;
}

void CaptureFilter::Watch()
{
    CardControlState seen;
    ReadControl(cardNumber_, seen);
    const HANDLE waits[2] = {quit_, control_};
    while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        CardControlState now;
        if (!ReadControl(cardNumber_, now))
            continue;
        dshow::AutoLock lock(FilterLock());
        if (now.copyProtected != seen.copyProtected)
            properties_->Fire(now.copyProtected ? 1 : 2);
        if (now.framesDropped > seen.framesDropped)
            properties_->Fire(3);
        seen = now;
    }
}

void CaptureFilter::OnCardKnown()
{
    quit_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    control_ = CreateEventW(nullptr, FALSE, FALSE, ControlEventName(cardNumber_).c_str());
    if (quit_ && control_)
        watcher_ = CreateThread(nullptr, 0, WatchMain, this, 0, nullptr);
    if (card_.personality.deviceType == 3) {
        AddStream(std::make_unique<StreamPin>(this, L"MPEG Stream Out", &cardNumber_));
        IncrementPinVersion();
    }
}

dshow::INonDelegatingUnknown* EncoderFilter::Create(IUnknown* outer, HRESULT* hr)
{
    auto* f = new (std::nothrow) EncoderFilter(outer);
    *hr = f ? S_OK : E_OUTOFMEMORY;
    return f;
}

EncoderFilter::EncoderFilter(IUnknown* outer) : CardFilter(outer, *Role(FilterRole::Encoder).filterClsid, FilterRole::Encoder) {}

void EncoderFilter::OnCardKnown()
{
    AddStream(std::make_unique<StreamPin>(this, L"MPEG Stream Out", &cardNumber_));
    IncrementPinVersion();
}

}  // namespace vcap
