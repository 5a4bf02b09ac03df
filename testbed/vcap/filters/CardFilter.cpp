#include "CardFilter.h"

#include "CardControl.h"
#include "StreamPin.h"

#include <vfwmsgs.h>

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

HRESULT STDMETHODCALLTYPE CaptureFilter::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (iid == IID_IAMAnalogVideoDecoder)
        return GetInterface(static_cast<IAMAnalogVideoDecoder*>(this), out);
    if (iid == IID_IAMVideoProcAmp)
        return GetInterface(static_cast<IAMVideoProcAmp*>(this), out);
    return CardFilter::NonDelegatingQueryInterface(iid, out);
}

STDMETHODIMP CaptureFilter::get_AvailableTVFormats(long* formats)
{
    if (!formats)
        return E_POINTER;
    *formats = kSupportedStandards;
    return S_OK;
}

STDMETHODIMP CaptureFilter::put_TVFormat(long format)
{
    dshow::AutoLock lock(FilterLock());
    return decoder_.setFormat(format, GetTickCount()) ? S_OK : E_INVALIDARG;
}

STDMETHODIMP CaptureFilter::get_TVFormat(long* format)
{
    if (!format)
        return E_POINTER;
    CardControlState c;
    ReadControl(cardNumber_, c);
    dshow::AutoLock lock(FilterLock());
    *format = decoder_.format(GetTickCount(), c.signal, c.standard);
    return S_OK;
}

STDMETHODIMP CaptureFilter::get_HorizontalLocked(long* locked)
{
    if (!locked)
        return E_POINTER;
    CardControlState c;
    ReadControl(cardNumber_, c);
    dshow::AutoLock lock(FilterLock());
    *locked = decoder_.locked(GetTickCount(), c.signal, c.standard) ? OATRUE : OAFALSE;
    return S_OK;
}

STDMETHODIMP CaptureFilter::put_VCRHorizontalLocking(long vcr)
{
    dshow::AutoLock lock(FilterLock());
    vcrLocking_ = vcr ? OATRUE : OAFALSE;
    return S_OK;
}

STDMETHODIMP CaptureFilter::get_VCRHorizontalLocking(long* vcr)
{
    if (!vcr)
        return E_POINTER;
    dshow::AutoLock lock(FilterLock());
    *vcr = vcrLocking_;
    return S_OK;
}

STDMETHODIMP CaptureFilter::get_NumberOfLines(long* lines)
{
    if (!lines)
        return E_POINTER;
    CardControlState c;
    ReadControl(cardNumber_, c);
    dshow::AutoLock lock(FilterLock());
    *lines = decoder_.lines(GetTickCount(), c.signal, c.standard);
    return S_OK;
}

STDMETHODIMP CaptureFilter::put_OutputEnable(long enable)
{
    dshow::AutoLock lock(FilterLock());
    outputEnable_ = enable ? OATRUE : OAFALSE;
    return S_OK;
}

STDMETHODIMP CaptureFilter::get_OutputEnable(long* enable)
{
    if (!enable)
        return E_POINTER;
    dshow::AutoLock lock(FilterLock());
    *enable = outputEnable_;
    return S_OK;
}

STDMETHODIMP CaptureFilter::GetRange(long property, long* min, long* max, long* step, long* def, long* caps)
{
    if (!min || !max || !step || !def || !caps)
        return E_POINTER;
    ProcAmpRange r;
    if (!ProcAmpRangeOf(property, r))
        return E_PROP_ID_UNSUPPORTED;
    *min = r.min;
    *max = r.max;
    *step = r.step;
    *def = r.defaultValue;
    *caps = VideoProcAmp_Flags_Manual;
    return S_OK;
}

STDMETHODIMP CaptureFilter::Set(long property, long value, long flags)
{
    ProcAmpRange r;
    if (!ProcAmpRangeOf(property, r))
        return E_PROP_ID_UNSUPPORTED;
    if (flags != VideoProcAmp_Flags_Manual || value < r.min || value > r.max)
        return E_INVALIDARG;
    dshow::AutoLock lock(FilterLock());
    procAmp_[property] = value;
    return S_OK;
}

STDMETHODIMP CaptureFilter::Get(long property, long* value, long* flags)
{
    if (!value || !flags)
        return E_POINTER;
    ProcAmpRange r;
    if (!ProcAmpRangeOf(property, r))
        return E_PROP_ID_UNSUPPORTED;
    dshow::AutoLock lock(FilterLock());
    *value = procAmp_[property];
    *flags = VideoProcAmp_Flags_Manual;
    return S_OK;
}

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
