#include "CodecEncoderFilter.h"

#include "EncoderState.h"
#include "StreamPin.h"

#include <win/ComPtr.h>

#include <uuids.h>
#include <vfwmsgs.h>

#include <cstring>

namespace vcap {

const GUID kCodecApiBitRateMode = {0xEE5FB25C, 0xC713, 0x40D1, {0x9D, 0x58, 0xC0, 0xD7, 0x24, 0x1E, 0x25, 0x0F}};
const GUID kCodecApiBitRate = {0x49CC4C43, 0xCA83, 0x4AD4, {0xA9, 0xAF, 0xF3, 0x69, 0x6A, 0xF6, 0x66, 0xDF}};
const GUID kCodecApiPeakBitRate = {0x703F16A9, 0x3D48, 0x44A1, {0xB0, 0x77, 0x01, 0x8D, 0xFF, 0x91, 0x5D, 0x19}};

namespace {

const GUID kIidCodecApi = {0x901DB4C7, 0x31CE, 0x41A2, {0x85, 0xDC, 0x8F, 0xA0, 0xBF, 0x41, 0xB8, 0xDA}};

bool IsCodecApi(const GUID& g) { return g == kCodecApiBitRateMode || g == kCodecApiBitRate || g == kCodecApiPeakBitRate; }

void PutUi4(VARIANT* v, uint32_t value)
{
    VariantInit(v);
    v->vt = VT_UI4;
    v->ulVal = value;
}

}  // namespace

// A wired input that tells its filter which card the wire comes from as it is connected.
class CodecEncoderFilter::InputPin : public AnalogPin {
public:
    InputPin(CodecEncoderFilter* filter, const wchar_t* name, const GUID& major, Wire wire, ULONG factoryId)
        : AnalogPin(filter, filter->FilterLock(), name, PINDIR_INPUT, major, WireMedium(wire, 0), factoryId),
          codec_(filter), wire_(wire)
    {
    }
    HRESULT CheckConnect(IPin* pin) override
    {
        const HRESULT hr = AnalogPin::CheckConnect(pin);
        return FAILED(hr) ? hr : codec_->LearnCardFrom(pin, wire_);
    }
    Wire wire() const { return wire_; }

private:
    CodecEncoderFilter* codec_;
    Wire wire_;
};

dshow::INonDelegatingUnknown* CodecEncoderFilter::Create(IUnknown* outer, HRESULT* hr)
{
    auto* f = new (std::nothrow) CodecEncoderFilter(outer);
    *hr = f ? S_OK : E_OUTOFMEMORY;
    return f;
}

CodecEncoderFilter::CodecEncoderFilter(IUnknown* outer)
    : CardFilter(outer, *Role(FilterRole::CodecEncoder).filterClsid, FilterRole::CodecEncoder)
{
    // The pins exist before the card is known: a filter made by class identifier is
    // connected first and learns its card from the connection.
    AddStream(std::make_unique<StreamPin>(this, L"MPEG Stream Out", &cardNumber_));
    auto video = std::make_unique<InputPin>(this, L"Video In", MEDIATYPE_Video, Wire::EncoderVideo, NextPinFactoryId());
    videoIn_ = video.get();
    AddAnalogPin(std::move(video));
    auto audio = std::make_unique<InputPin>(this, L"Audio In", MEDIATYPE_Audio, Wire::EncoderAudio, NextPinFactoryId());
    audioIn_ = audio.get();
    AddAnalogPin(std::move(audio));
}

HRESULT STDMETHODCALLTYPE CodecEncoderFilter::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (iid == kIidCodecApi)
        return GetInterface(static_cast<ICodecAPI*>(this), out);
    return CardFilter::NonDelegatingQueryInterface(iid, out);
}

void CodecEncoderFilter::OnCardKnown()
{
    videoIn_->SetMedium(WireMedium(Wire::EncoderVideo, cardNumber_));
    audioIn_->SetMedium(WireMedium(Wire::EncoderAudio, cardNumber_));
}

HRESULT CodecEncoderFilter::LearnCardFrom(IPin* peer, Wire wire)
{
    win::ComPtr<IKsPin> ks;
    if (!peer || FAILED(peer->QueryInterface(kIidKsPin, ks.PutVoid())))
        return VFW_E_NO_ACCEPTABLE_TYPES;  // not a card's wire
    PKSMULTIPLE_ITEM list = nullptr;
    if (FAILED(ks->KsQueryMediums(&list)) || !list)
        return VFW_E_NO_ACCEPTABLE_TYPES;
    int number = 0;
    const auto* mediums = reinterpret_cast<const KSPIN_MEDIUM*>(list + 1);
    for (ULONG i = 0; i < list->Count && number == 0; ++i) {
        const int id = static_cast<int>(mediums[i].Id);
        if (id > 0 && mediums[i].Set == WireMedium(wire, id).Set)
            number = id;
    }
    CoTaskMemFree(list);
    if (number == 0)
        return VFW_E_NO_ACCEPTABLE_TYPES;
    if (properties_)
        return number == cardNumber_ ? S_OK : VFW_E_NO_ACCEPTABLE_TYPES;
    CardRecord card;
    if (!LoadCard(number, card) || card.personality.deviceType != 4)
        return VFW_E_NO_ACCEPTABLE_TYPES;
    card_ = card;
    cardNumber_ = number;
    properties_ = std::make_unique<CardProperties>(card_);
    OnCardKnown();
    return S_OK;
}

STDMETHODIMP CodecEncoderFilter::GetState(DWORD timeout, FILTER_STATE* state)
{
    // A live source, like the card's other stream filters.
    const HRESULT hr = SourceFilter::GetState(timeout, state);
    return hr == S_OK && *state == State_Paused ? VFW_S_CANT_CUE : hr;
}

HRESULT CodecEncoderFilter::ReadValue(const GUID& api, uint32_t& value)
{
    win::AutoLock lock(*FilterLock());
    if (!properties_)
        return VFW_E_NOT_CONNECTED;
    EncoderState s;
    if (!LoadEncoderState(cardNumber_, s))
        return E_FAIL;
    value = api == kCodecApiBitRateMode ? s.params.vbr : api == kCodecApiBitRate ? s.params.bitRate : s.params.peakBitRate;
    return S_OK;
}

HRESULT CodecEncoderFilter::WriteValue(const GUID& api, uint32_t value, uint32_t& applied)
{
    win::AutoLock lock(*FilterLock());
    if (!properties_)
        return VFW_E_NOT_CONNECTED;
    EncoderState s;
    if (!LoadEncoderState(cardNumber_, s))
        return E_FAIL;
    applied = value;
    if (api == kCodecApiBitRateMode) {
        if (!SetCodecRateMode(s, value))
            return E_INVALIDARG;
    } else if (api == kCodecApiBitRate) {
        if (!SetCodecBitRate(s, value))
            return E_INVALIDARG;
    } else {
        applied = SetCodecPeakBitRate(s, value);
    }
    return SaveEncoderState(cardNumber_, s) ? S_OK : E_FAIL;
}

STDMETHODIMP CodecEncoderFilter::Get(REFGUID set, DWORD id, void* instance, DWORD instanceSize, void* data, DWORD size,
                                     DWORD* returned)
{
    if (!IsCodecApi(set))
        return CardFilter::Get(set, id, instance, instanceSize, data, size, returned);
    if (returned)
        *returned = 0;
    if (!data)
        return E_POINTER;
    if (id != 0)
        return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    if (size < sizeof(uint32_t))
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    uint32_t value = 0;
    const HRESULT hr = ReadValue(set, value);
    if (FAILED(hr))
        return hr;
    std::memcpy(data, &value, sizeof value);
    if (returned)
        *returned = sizeof value;
    return S_OK;
}

STDMETHODIMP CodecEncoderFilter::Set(REFGUID set, DWORD id, void* instance, DWORD instanceSize, void* data, DWORD size)
{
    if (!IsCodecApi(set))
        return CardFilter::Set(set, id, instance, instanceSize, data, size);
    if (!data)
        return E_POINTER;
    if (id != 0)
        return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    if (size < sizeof(uint32_t))
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    uint32_t value = 0, applied = 0;
    std::memcpy(&value, data, sizeof value);
    return WriteValue(set, value, applied);
}

STDMETHODIMP CodecEncoderFilter::QuerySupported(REFGUID set, DWORD id, DWORD* support)
{
    if (!IsCodecApi(set))
        return CardFilter::QuerySupported(set, id, support);
    if (!support)
        return E_POINTER;
    if (id != 0)
        return E_PROP_ID_UNSUPPORTED;
    *support = KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET;
    return S_OK;
}

STDMETHODIMP CodecEncoderFilter::IsSupported(const GUID* api)
{
    if (!api)
        return E_POINTER;
    return IsCodecApi(*api) ? S_OK : E_NOTIMPL;
}

STDMETHODIMP CodecEncoderFilter::IsModifiable(const GUID* api) { return IsSupported(api); }

STDMETHODIMP CodecEncoderFilter::GetParameterRange(const GUID* api, VARIANT* min, VARIANT* max, VARIANT* step)
{
    if (!api || !min || !max || !step)
        return E_POINTER;
    if (!IsCodecApi(*api))
        return E_NOTIMPL;
    if (*api == kCodecApiBitRateMode)
        return VFW_E_CODECAPI_ENUMERATED;
    PutUi4(min, kCodecMinBitRate);
    PutUi4(max, *api == kCodecApiBitRate ? kCodecMaxBitRate : kCodecMaxPeakBitRate);
    PutUi4(step, 1);
    return S_OK;
}

STDMETHODIMP CodecEncoderFilter::GetParameterValues(const GUID* api, VARIANT** values, ULONG* count)
{
    if (!api || !values || !count)
        return E_POINTER;
    *values = nullptr;
    *count = 0;
    if (!IsCodecApi(*api))
        return E_NOTIMPL;
    if (*api != kCodecApiBitRateMode)
        return VFW_E_CODECAPI_LINEAR_RANGE;
    auto* list = static_cast<VARIANT*>(CoTaskMemAlloc(3 * sizeof(VARIANT)));
    if (!list)
        return E_OUTOFMEMORY;
    for (uint32_t m = kCodecConstantRate; m <= kCodecVariablePeak; ++m)
        PutUi4(&list[m], m);
    *values = list;
    *count = 3;
    return S_OK;
}

STDMETHODIMP CodecEncoderFilter::GetDefaultValue(const GUID* api, VARIANT* value)
{
    if (!api || !value)
        return E_POINTER;
    if (!IsCodecApi(*api))
        return E_NOTIMPL;
    const EncoderState d = DefaultEncoderState();
    PutUi4(value, *api == kCodecApiBitRateMode ? d.params.vbr : *api == kCodecApiBitRate ? d.params.bitRate : d.params.peakBitRate);
    return S_OK;
}

STDMETHODIMP CodecEncoderFilter::GetValue(const GUID* api, VARIANT* value)
{
    if (!api || !value)
        return E_POINTER;
    if (!IsCodecApi(*api))
        return E_NOTIMPL;
    uint32_t v = 0;
    const HRESULT hr = ReadValue(*api, v);
    if (FAILED(hr))
        return hr;
    PutUi4(value, v);
    return S_OK;
}

STDMETHODIMP CodecEncoderFilter::SetValue(const GUID* api, VARIANT* value)
{
    if (!api || !value)
        return E_POINTER;
    if (!IsCodecApi(*api))
        return E_NOTIMPL;
    // Any integer variant in range will do; negative values are refused by the conversion.
    VARIANT v;
    VariantInit(&v);
    if (FAILED(VariantChangeType(&v, value, 0, VT_UI4)))
        return E_INVALIDARG;
    uint32_t applied = 0;
    return WriteValue(*api, v.ulVal, applied);
}

STDMETHODIMP CodecEncoderFilter::SetValueWithNotify(const GUID* api, VARIANT* value, GUID** changed, ULONG* count)
{
    if (!changed || !count)
        return E_POINTER;
    *changed = nullptr;
    *count = 0;
    uint32_t peakBefore = 0, peakAfter = 0;
    const bool peakKnown = SUCCEEDED(ReadValue(kCodecApiPeakBitRate, peakBefore));
    const HRESULT hr = SetValue(api, value);
    if (FAILED(hr))
        return hr;
    // Raising the average can raise the peak with it.
    const bool peakMoved = peakKnown && *api == kCodecApiBitRate && SUCCEEDED(ReadValue(kCodecApiPeakBitRate, peakAfter)) &&
                           peakAfter != peakBefore;
    auto* list = static_cast<GUID*>(CoTaskMemAlloc(2 * sizeof(GUID)));
    if (!list)
        return E_OUTOFMEMORY;
    list[0] = *api;
    if (peakMoved)
        list[1] = kCodecApiPeakBitRate;
    *changed = list;
    *count = peakMoved ? 2 : 1;
    return S_OK;
}

STDMETHODIMP CodecEncoderFilter::SetAllDefaults()
{
    const EncoderState d = DefaultEncoderState();
    uint32_t applied = 0;
    HRESULT hr = WriteValue(kCodecApiBitRateMode, d.params.vbr, applied);
    if (SUCCEEDED(hr))
        hr = WriteValue(kCodecApiBitRate, d.params.bitRate, applied);
    if (SUCCEEDED(hr))
        hr = WriteValue(kCodecApiPeakBitRate, d.params.peakBitRate, applied);
    return hr;
}

}  // namespace vcap
