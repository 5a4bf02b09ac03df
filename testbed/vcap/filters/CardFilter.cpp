#include "CardFilter.h"

#include "CrossbarModel.h"
#include "FrontEnd.h"
#include "PropertyLog.h"
#include "VirtualAudioPin.h"
#include "PcmAudioPin.h"
#include "StreamPin.h"
#include "VideoEsPin.h"

#include <uuids.h>
#include <vfwmsgs.h>

#include <algorithm>

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
    if (iid == kIidKsControl)
        return GetInterface(static_cast<IKsControl*>(this), out);
    return SourceFilter::NonDelegatingQueryInterface(iid, out);
}

STDMETHODIMP CardFilter::GetState(DWORD timeout, FILTER_STATE* state)
{
    const HRESULT hr = SourceFilter::GetState(timeout, state);
    const bool live = role_ == FilterRole::Capture || role_ == FilterRole::Encoder || role_ == FilterRole::Multiplexer;
    return hr == S_OK && live && *state == State_Paused ? VFW_S_CANT_CUE : hr;
}

int CardFilter::GetPinCount() { return SourceFilter::GetPinCount() + static_cast<int>(analogPins_.size()); }

dshow::BasePin* CardFilter::GetPin(int index)
{
    const int streams = SourceFilter::GetPinCount();
    if (index < streams)
        return SourceFilter::GetPin(index);
    index -= streams;
    return index < static_cast<int>(analogPins_.size()) ? analogPins_[index].get() : nullptr;
}

AnalogPin* CardFilter::AddAnalogPin(const wchar_t* name, PIN_DIRECTION direction, const GUID& majorType, Wire wire)
{
    AddAnalogPin(std::make_unique<AnalogPin>(this, FilterLock(), name, direction, majorType, WireMedium(wire, cardNumber_),
                                             NextPinFactoryId()));
    return analogPins_.back().get();
}

void CardFilter::AddAnalogPin(std::unique_ptr<AnalogPin> pin)
{
    analogPins_.push_back(std::move(pin));
    IncrementPinVersion();
}

STDMETHODIMP CardFilter::KsProperty(PKSPROPERTY property, ULONG propertySize, LPVOID data, ULONG dataSize, ULONG* returned)
{
    if (!property || !returned)
        return E_POINTER;
    *returned = 0;
    if (propertySize < sizeof(KSPROPERTY) || property->Set != kPropSetPin)
        return HRESULT_FROM_WIN32(ERROR_SET_NOT_FOUND);
    if (property->Id != KSPROPERTY_PIN_NECESSARYINSTANCES)
        return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    if (!(property->Flags & KSPROPERTY_TYPE_GET))
        return HRESULT_FROM_WIN32(ERROR_INVALID_FUNCTION);
    if (propertySize < sizeof(KSP_PIN))
        return HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER);
    win::AutoLock lock(*FilterLock());
    if (reinterpret_cast<const KSP_PIN*>(property)->PinId >= analogPins_.size())
        return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    if (!data || dataSize < sizeof(ULONG))
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    *static_cast<ULONG*>(data) = 1;  // every wire is one pin instance
    *returned = sizeof(ULONG);
    return S_OK;
}

STDMETHODIMP CardFilter::KsMethod(PKSMETHOD, ULONG, LPVOID, ULONG, ULONG* returned)
{
    if (returned)
        *returned = 0;
    return HRESULT_FROM_WIN32(ERROR_SET_NOT_FOUND);
}

STDMETHODIMP CardFilter::KsEvent(PKSEVENT, ULONG, LPVOID, ULONG, ULONG* returned)
{
    if (returned)
        *returned = 0;
    return HRESULT_FROM_WIN32(ERROR_SET_NOT_FOUND);
}

STDMETHODIMP CardFilter::Load(IPropertyBag* bag, IErrorLog*)
{
    if (!bag)
        return E_POINTER;
    win::AutoLock lock(*FilterLock());
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
    win::AutoLock lock(*FilterLock());
    if (!properties_)
        return E_UNEXPECTED;
    const HRESULT hr = properties_->Set(set, id, data, size);
    LogPropertyCall(card_.number, true, set, id, size, hr, data, data ? size : 0);
    return hr;
}

STDMETHODIMP CardFilter::Get(REFGUID set, DWORD id, void*, DWORD, void* data, DWORD size, DWORD* returned)
{
    win::AutoLock lock(*FilterLock());
    if (!properties_)
        return E_UNEXPECTED;
    DWORD got = 0;
    const HRESULT hr = properties_->Get(set, id, data, size, &got);
    if (returned)
        *returned = got;
    LogPropertyCall(card_.number, false, set, id, size, hr, data, SUCCEEDED(hr) && data ? std::min(got, size) : 0);
    return hr;
}

STDMETHODIMP CardFilter::QuerySupported(REFGUID set, DWORD id, DWORD* support)
{
    win::AutoLock lock(*FilterLock());
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
    win::AutoLock lock(*FilterLock());
    *formats = BoardStandards();
    return S_OK;
}

STDMETHODIMP CaptureFilter::put_TVFormat(long format)
{
    win::AutoLock lock(*FilterLock());
    BoardStandards();
    return decoder_.setFormat(format, GetTickCount()) ? S_OK : E_INVALIDARG;
}

STDMETHODIMP CaptureFilter::get_TVFormat(long* format)
{
    if (!format)
        return E_POINTER;
    win::AutoLock lock(*FilterLock());
    const uint32_t now = GetTickCount();
    const InputState in = RoutedInput(now);
    *format = decoder_.format(now, in.signal, in.standard);
    return S_OK;
}

STDMETHODIMP CaptureFilter::get_HorizontalLocked(long* locked)
{
    if (!locked)
        return E_POINTER;
    win::AutoLock lock(*FilterLock());
    const uint32_t now = GetTickCount();
    const InputState in = RoutedInput(now);
    *locked = decoder_.locked(now, in.signal, in.standard) ? OATRUE : OAFALSE;
    CountLockRead(cardNumber_);
    return S_OK;
}

STDMETHODIMP CaptureFilter::put_VCRHorizontalLocking(long vcr)
{
    win::AutoLock lock(*FilterLock());
    vcrLocking_ = vcr ? OATRUE : OAFALSE;
    return S_OK;
}

STDMETHODIMP CaptureFilter::get_VCRHorizontalLocking(long* vcr)
{
    if (!vcr)
        return E_POINTER;
    win::AutoLock lock(*FilterLock());
    *vcr = vcrLocking_;
    return S_OK;
}

STDMETHODIMP CaptureFilter::get_NumberOfLines(long* lines)
{
    if (!lines)
        return E_POINTER;
    win::AutoLock lock(*FilterLock());
    const uint32_t now = GetTickCount();
    const InputState in = RoutedInput(now);
    *lines = decoder_.lines(now, in.signal, in.standard);
    return S_OK;
}

STDMETHODIMP CaptureFilter::put_OutputEnable(long enable)
{
    win::AutoLock lock(*FilterLock());
    outputEnable_ = enable ? OATRUE : OAFALSE;
    return S_OK;
}

STDMETHODIMP CaptureFilter::get_OutputEnable(long* enable)
{
    if (!enable)
        return E_POINTER;
    win::AutoLock lock(*FilterLock());
    *enable = outputEnable_;
    return S_OK;
}

STDMETHODIMP CaptureFilter::GetRange(long property, long* min, long* max, long* step, long* def, long* caps)
{
    if (!min || !max || !step || !def || !caps)
        return E_POINTER;
    ProcAmpRange r;
    if (!ProcAmpRangeOf(property, r) || ProcAmpMissing(cardNumber_, property))
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
    if (!ProcAmpRangeOf(property, r) || ProcAmpMissing(cardNumber_, property))
        return E_PROP_ID_UNSUPPORTED;
    if (flags != VideoProcAmp_Flags_Manual || value < r.min || value > r.max)
        return E_INVALIDARG;
    // The chip's register: every filter of the card and the encoder's picture see it.
    return WriteProcAmp(cardNumber_, property, value) ? S_OK : E_FAIL;
}

STDMETHODIMP CaptureFilter::Get(long property, long* value, long* flags)
{
    if (!value || !flags)
        return E_POINTER;
    ProcAmpRange r;
    if (!ProcAmpRangeOf(property, r) || ProcAmpMissing(cardNumber_, property))
        return E_PROP_ID_UNSUPPORTED;
    *value = ReadProcAmp(cardNumber_, property);
    *flags = VideoProcAmp_Flags_Manual;
    return S_OK;
}

long CaptureFilter::BoardStandards()
{
    long mask = kSupportedStandards;
    ReadAvailableStandards(cardNumber_, mask);
    decoder_.setAvailable(mask);
    return decoder_.available();
}

InputState CaptureFilter::RoutedInput(uint32_t nowMs)
{
    const RoutedVideo routed = ReadRoutedVideo(cardNumber_, nowMs);
    if (routed.input != seenInput_) {
        if (seenInput_ != -2)
            decoder_.restartSearch(nowMs);
        seenInput_ = routed.input;
    }
    return routed.state;
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
    CardControlState seen = boundControl_;
    bool present = true;
    const HANDLE waits[2] = {quit_, control_};
    // The control event wakes one waiter; a second filter bound to the same card catches up
    // by looking again after a short wait.
    for (;;) {
        const DWORD woken = WaitForMultipleObjects(2, waits, FALSE, kWatchPollMs);
        if (woken != WAIT_OBJECT_0 + 1 && woken != WAIT_TIMEOUT)
            return;
        CardControlState now;
        if (!ReadControl(cardNumber_, now)) {
            // The card went away under a running stream: its flow has stopped for good.
            if (present) {
                win::AutoLock lock(*FilterLock());
                properties_->Fire(kEventFlowStopped);
            }
            present = false;
            continue;
        }
        present = true;
        win::AutoLock lock(*FilterLock());
        if (now.copyProtected != seen.copyProtected)
            properties_->Fire(now.copyProtected ? kEventCopyProtectionOn : kEventCopyProtectionOff);
        if (now.framesDropped > seen.framesDropped)
            properties_->Fire(kEventFramesDropped);
        if (now.flowStops > seen.flowStops)
            properties_->Fire(kEventFlowStopped);
        seen = now;
    }
}

void CaptureFilter::OnCardKnown()
{
    quit_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    control_ = CreateEventW(nullptr, FALSE, FALSE, ControlEventName(cardNumber_).c_str());
    // The state the filter was bound in, read now: a change made before the watcher thread
    // first runs is still a change.
    if (quit_ && control_ && ReadControl(cardNumber_, boundControl_))
        watcher_ = CreateThread(nullptr, 0, WatchMain, this, 0, nullptr);
    // The capture chip's analog inputs, wired to the crossbar's decoder outputs.
    AddAnalogPin(L"Analog Video In", PINDIR_INPUT, MEDIATYPE_AnalogVideo, Wire::CrossbarVideo);
    AddAnalogPin(L"Analog Audio In", PINDIR_INPUT, MEDIATYPE_AnalogAudio, Wire::CrossbarAudio);
    // The digitised picture and sound on their way to the encoder chip.
    AddAnalogPin(L"Virtual Video Out", PINDIR_OUTPUT, MEDIATYPE_Video, Wire::EncoderVideo);
    // A card whose encoder chip takes no sound hands it to software instead.
    if (card_.personality.deviceType == 2)
        AddStream(std::make_unique<PcmAudioPin>(this, &cardNumber_));
    else
        AddAnalogPin(std::make_unique<VirtualAudioPin>(this, FilterLock(), &cardNumber_, NextPinFactoryId()));
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
    if (card_.personality.deviceType == 2) {
        AddStream(std::make_unique<VideoEsPin>(this, &cardNumber_));
        IncrementPinVersion();
        AddAnalogPin(L"Video In", PINDIR_INPUT, MEDIATYPE_Video, Wire::EncoderVideo);
        return;
    }
    AddStream(std::make_unique<StreamPin>(this, L"MPEG Stream Out", &cardNumber_));
    IncrementPinVersion();
    AddAnalogPin(L"Video In", PINDIR_INPUT, MEDIATYPE_Video, Wire::EncoderVideo);
    AddAnalogPin(L"Audio In", PINDIR_INPUT, MEDIATYPE_Audio, Wire::EncoderAudio);
}

}  // namespace vcap
