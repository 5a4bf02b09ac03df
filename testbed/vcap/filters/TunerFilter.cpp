#include "TunerFilter.h"

#include "DecoderModel.h"

#include <uuids.h>
#include <vfwmsgs.h>

#include <cstring>

namespace vcap {
namespace {

const HRESULT kBufferTooSmall = HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
const HRESULT kInvalid = HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER);
const HRESULT kNotFound = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
constexpr long kInputConnections = 2;  // cable and antenna sockets

// The tuner property set passes the whole structure, header first; the fields follow it.
template <typename T>
T* Fields(void* data, DWORD size)
{
    return size >= sizeof(T) ? static_cast<T*>(data) : nullptr;
}

}  // namespace

dshow::INonDelegatingUnknown* TunerFilter::Create(IUnknown* outer, HRESULT* hr)
{
    auto* f = new (std::nothrow) TunerFilter(outer);
    *hr = f ? S_OK : E_OUTOFMEMORY;
    return f;
}

TunerFilter::TunerFilter(IUnknown* outer) : CardFilter(outer, *Role(FilterRole::Tuner).filterClsid, FilterRole::Tuner) {}

HRESULT STDMETHODCALLTYPE TunerFilter::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (iid == IID_IAMTVTuner)
        return GetInterface(static_cast<IAMTVTuner*>(this), out);
    if (iid == IID_IAMTuner)
        return GetInterface(static_cast<IAMTuner*>(this), out);
    return CardFilter::NonDelegatingQueryInterface(iid, out);
}

void TunerFilter::OnCardKnown()
{
    AddAnalogPin(L"Analog Video", PINDIR_OUTPUT, MEDIATYPE_AnalogVideo, Wire::TunerVideo);
    AddAnalogPin(L"Analog Audio", PINDIR_OUTPUT, MEDIATYPE_AnalogAudio, Wire::TunerAudio);
}

STDMETHODIMP TunerFilter::Get(REFGUID set, DWORD id, void* instance, DWORD instanceSize, void* data, DWORD size, DWORD* returned)
{
    if (set != kPropSetTuner)
        return CardFilter::Get(set, id, instance, instanceSize, data, size, returned);
    if (!data)
        return E_POINTER;
    DWORD ignored = 0;
    if (!returned)
        returned = &ignored;
    *returned = 0;
    dshow::AutoLock lock(FilterLock());
    if (!HasCard())
        return E_UNEXPECTED;
    return GetTunerProperty(id, data, size, returned);
}

STDMETHODIMP TunerFilter::Set(REFGUID set, DWORD id, void* instance, DWORD instanceSize, void* data, DWORD size)
{
    if (set != kPropSetTuner)
        return CardFilter::Set(set, id, instance, instanceSize, data, size);
    if (!data)
        return E_POINTER;
    dshow::AutoLock lock(FilterLock());
    if (!HasCard())
        return E_UNEXPECTED;
    return SetTunerProperty(id, data, size);
}

STDMETHODIMP TunerFilter::QuerySupported(REFGUID set, DWORD id, DWORD* support)
{
    if (set != kPropSetTuner)
        return CardFilter::QuerySupported(set, id, support);
    if (!support)
        return E_POINTER;
    switch (id) {
    case KSPROPERTY_TUNER_MODE_CAPS:
    case KSPROPERTY_TUNER_STATUS:
        *support = KSPROPERTY_SUPPORT_GET;
        return S_OK;
    case KSPROPERTY_TUNER_MODE:
    case KSPROPERTY_TUNER_STANDARD:
    case KSPROPERTY_TUNER_FREQUENCY:
        *support = KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET;
        return S_OK;
    default:
        return E_PROP_ID_UNSUPPORTED;
    }
}

HRESULT TunerFilter::GetTunerProperty(DWORD id, void* data, DWORD size, DWORD* returned)
{
    TunerRecord t;
    if (!Load(t))
        return E_FAIL;
    switch (id) {
    case KSPROPERTY_TUNER_MODE_CAPS: {
        auto* caps = Fields<KSPROPERTY_TUNER_MODE_CAPS_S>(data, size);
        if (!caps)
            return kBufferTooSmall;
        if (caps->Mode != KSPROPERTY_TUNER_MODE_TV)
            return kInvalid;  // a TV-only tuner
        caps->StandardsSupported = kTunerStandards;
        caps->MinFrequency = kTunerMinHz;
        caps->MaxFrequency = kTunerMaxHz;
        caps->TuningGranularity = kTunerGranularityHz;
        caps->NumberOfInputs = kInputConnections;
        caps->SettlingTime = kTunerSettleMs;
        caps->Strategy = KS_TUNER_STRATEGY_PLL;
        *returned = sizeof *caps;
        return S_OK;
    }
    case KSPROPERTY_TUNER_MODE: {
        auto* m = Fields<KSPROPERTY_TUNER_MODE_S>(data, size);
        if (!m)
            return kBufferTooSmall;
        m->Mode = static_cast<ULONG>(t.mode);
        *returned = sizeof *m;
        return S_OK;
    }
    case KSPROPERTY_TUNER_STANDARD: {
        // The full structure, or the bare value that some callers pass.
        if (auto* s = Fields<KSPROPERTY_TUNER_STANDARD_S>(data, size)) {
            s->Standard = static_cast<ULONG>(t.standard);
            *returned = sizeof *s;
            return S_OK;
        }
        if (size < sizeof(ULONG))
            return kBufferTooSmall;
        std::memset(data, 0, size);
        *static_cast<ULONG*>(data) = static_cast<ULONG>(t.standard);
        *returned = size;
        return S_OK;
    }
    case KSPROPERTY_TUNER_FREQUENCY: {
        auto* f = Fields<KSPROPERTY_TUNER_FREQUENCY_S>(data, size);
        if (!f)
            return kBufferTooSmall;
        f->Frequency = static_cast<ULONG>(t.frequency);
        f->LastFrequency = static_cast<ULONG>(t.frequency);
        f->TuningFlags = KS_TUNER_TUNING_EXACT;
        f->VideoSubChannel = f->AudioSubChannel = static_cast<ULONG>(-1);
        f->Channel = static_cast<ULONG>(t.channel);
        f->Country = static_cast<ULONG>(t.country);
        *returned = sizeof *f;
        return S_OK;
    }
    case KSPROPERTY_TUNER_STATUS: {
        auto* s = Fields<KSPROPERTY_TUNER_STATUS_S>(data, size);
        if (!s)
            return kBufferTooSmall;
        const TunerStatus st = ModelOf(t).Status(GetTickCount(), ReadStations(cardNumber_));
        s->CurrentFrequency = static_cast<ULONG>(st.frequency);
        s->PLLOffset = static_cast<ULONG>(st.pllOffset);
        s->SignalStrength = st.pllOffset == 0 ? 100 : st.pllOffset == 1 || st.pllOffset == -1 ? 50 : 0;
        s->Busy = st.busy ? 1 : 0;
        *returned = sizeof *s;
        return S_OK;
    }
    default:
        return kNotFound;
    }
}

HRESULT TunerFilter::SetTunerProperty(DWORD id, const void* data, DWORD size)
{
    TunerRecord t;
    if (!Load(t))
        return E_FAIL;
    switch (id) {
    case KSPROPERTY_TUNER_MODE: {
        if (size < sizeof(KSPROPERTY_TUNER_MODE_S))
            return kBufferTooSmall;
        if (static_cast<const KSPROPERTY_TUNER_MODE_S*>(data)->Mode != KSPROPERTY_TUNER_MODE_TV)
            return kInvalid;
        t.mode = KSPROPERTY_TUNER_MODE_TV;
        break;
    }
    case KSPROPERTY_TUNER_STANDARD: {
        ULONG standard = 0;
        if (size >= sizeof(KSPROPERTY_TUNER_STANDARD_S))
            standard = static_cast<const KSPROPERTY_TUNER_STANDARD_S*>(data)->Standard;
        else if (size >= sizeof(ULONG))
            standard = *static_cast<const ULONG*>(data);
        else
            return kBufferTooSmall;
        if (standard == 0 || (standard & (standard - 1)) != 0 || (standard & ~static_cast<ULONG>(kTunerStandards)) != 0)
            return kInvalid;
        t.standard = static_cast<long>(standard);
        break;
    }
    case KSPROPERTY_TUNER_FREQUENCY: {
        if (size < sizeof(KSPROPERTY_TUNER_FREQUENCY_S))
            return kBufferTooSmall;
        const auto* f = static_cast<const KSPROPERTY_TUNER_FREQUENCY_S*>(data);
        TunerModel m = ModelOf(t);
        if (!m.TuneFrequency(static_cast<long>(f->Frequency), GetTickCount()))
            return kInvalid;
        t.frequency = m.Frequency();
        t.tunedAt = m.TunedAt();
        break;
    }
    case KSPROPERTY_TUNER_MODE_CAPS:
    case KSPROPERTY_TUNER_STATUS:
        return E_PROP_ID_UNSUPPORTED;
    default:
        return kNotFound;
    }
    return SaveTuner(cardNumber_, t) ? S_OK : E_FAIL;
}

STDMETHODIMP TunerFilter::put_Channel(long channel, long, long)
{
    dshow::AutoLock lock(FilterLock());
    TunerRecord t;
    if (!Load(t))
        return E_UNEXPECTED;
    TunerModel m = ModelOf(t);
    if (!m.TuneChannel(channel, GetTickCount()))
        return E_INVALIDARG;
    t.channel = m.Channel();
    t.frequency = m.Frequency();
    t.tunedAt = m.TunedAt();
    return SaveTuner(cardNumber_, t) ? S_OK : E_FAIL;
}

STDMETHODIMP TunerFilter::get_Channel(long* channel, long* videoSub, long* audioSub)
{
    if (!channel || !videoSub || !audioSub)
        return E_POINTER;
    dshow::AutoLock lock(FilterLock());
    TunerRecord t;
    if (!Load(t))
        return E_UNEXPECTED;
    *channel = t.channel;
    *videoSub = *audioSub = -1;
    return S_OK;
}

STDMETHODIMP TunerFilter::ChannelMinMax(long* min, long* max)
{
    if (!min || !max)
        return E_POINTER;
    dshow::AutoLock lock(FilterLock());
    TunerRecord t;
    if (!Load(t))
        return E_UNEXPECTED;
    const CountryInfo c = ModelOf(t).CountryRow();
    *min = c.minChannel;
    *max = c.maxChannel;
    return S_OK;
}

STDMETHODIMP TunerFilter::put_CountryCode(long code)
{
    dshow::AutoLock lock(FilterLock());
    TunerRecord t;
    if (!Load(t))
        return E_UNEXPECTED;
    CountryInfo c;
    if (!FindCountry(code, c))
        return E_INVALIDARG;
    if (t.country == code)
        return S_OK;
    // A new country retunes to its first channel, as a driver loads the new channel plan.
    t.country = code;
    TunerModel m = ModelOf(t);
    m.TuneChannel(c.minChannel, GetTickCount());
    t.channel = m.Channel();
    t.frequency = m.Frequency();
    t.tunedAt = m.TunedAt();
    t.standard = c.standard;
    return SaveTuner(cardNumber_, t) ? S_OK : E_FAIL;
}

STDMETHODIMP TunerFilter::get_CountryCode(long* code)
{
    if (!code)
        return E_POINTER;
    dshow::AutoLock lock(FilterLock());
    TunerRecord t;
    if (!Load(t))
        return E_UNEXPECTED;
    *code = t.country;
    return S_OK;
}

STDMETHODIMP TunerFilter::put_TuningSpace(long) { return S_OK; }

STDMETHODIMP TunerFilter::get_TuningSpace(long* space)
{
    if (!space)
        return E_POINTER;
    *space = 0;
    return S_OK;
}

STDMETHODIMP TunerFilter::SignalPresent(long* strength)
{
    if (!strength)
        return E_POINTER;
    dshow::AutoLock lock(FilterLock());
    TunerRecord t;
    if (!Load(t))
        return E_UNEXPECTED;
    *strength = ModelOf(t).HasSignal(GetTickCount(), ReadStations(cardNumber_)) ? AMTUNER_SIGNALPRESENT : AMTUNER_NOSIGNAL;
    return S_OK;
}

STDMETHODIMP TunerFilter::put_Mode(AMTunerModeType mode)
{
    if (mode != AMTUNER_MODE_TV)
        return E_INVALIDARG;
    dshow::AutoLock lock(FilterLock());
    TunerRecord t;
    if (!Load(t))
        return E_UNEXPECTED;
    t.mode = AMTUNER_MODE_TV;
    return SaveTuner(cardNumber_, t) ? S_OK : E_FAIL;
}

STDMETHODIMP TunerFilter::get_Mode(AMTunerModeType* mode)
{
    if (!mode)
        return E_POINTER;
    dshow::AutoLock lock(FilterLock());
    TunerRecord t;
    if (!Load(t))
        return E_UNEXPECTED;
    *mode = static_cast<AMTunerModeType>(t.mode);
    return S_OK;
}

STDMETHODIMP TunerFilter::GetAvailableModes(long* modes)
{
    if (!modes)
        return E_POINTER;
    *modes = AMTUNER_MODE_TV;
    return S_OK;
}

STDMETHODIMP TunerFilter::get_AvailableTVFormats(long* formats)
{
    if (!formats)
        return E_POINTER;
    *formats = kTunerStandards;
    return S_OK;
}

STDMETHODIMP TunerFilter::get_TVFormat(long* format)
{
    if (!format)
        return E_POINTER;
    dshow::AutoLock lock(FilterLock());
    TunerRecord t;
    if (!Load(t))
        return E_UNEXPECTED;
    *format = t.standard;
    return S_OK;
}

STDMETHODIMP TunerFilter::AutoTune(long channel, long* found)
{
    if (!found)
        return E_POINTER;
    const HRESULT hr = put_Channel(channel, -1, -1);
    if (FAILED(hr))
        return hr;
    dshow::AutoLock lock(FilterLock());
    const std::set<long> stations = ReadStations(cardNumber_);
    *found = stations.count(channel) ? 1 : 0;
    return S_OK;
}

STDMETHODIMP TunerFilter::get_NumInputConnections(long* count)
{
    if (!count)
        return E_POINTER;
    *count = kInputConnections;
    return S_OK;
}

STDMETHODIMP TunerFilter::put_InputType(long index, TunerInputType type)
{
    if (index < 0 || index >= kInputConnections || (type != TunerInputCable && type != TunerInputAntenna))
        return E_INVALIDARG;
    dshow::AutoLock lock(FilterLock());
    TunerRecord t;
    if (!Load(t))
        return E_UNEXPECTED;
    t.inputType = type;
    return SaveTuner(cardNumber_, t) ? S_OK : E_FAIL;
}

STDMETHODIMP TunerFilter::get_InputType(long index, TunerInputType* type)
{
    if (!type)
        return E_POINTER;
    if (index < 0 || index >= kInputConnections)
        return E_INVALIDARG;
    dshow::AutoLock lock(FilterLock());
    TunerRecord t;
    if (!Load(t))
        return E_UNEXPECTED;
    *type = static_cast<TunerInputType>(t.inputType);
    return S_OK;
}

STDMETHODIMP TunerFilter::put_ConnectInput(long index)
{
    if (index < 0 || index >= kInputConnections)
        return E_INVALIDARG;
    dshow::AutoLock lock(FilterLock());
    TunerRecord t;
    if (!Load(t))
        return E_UNEXPECTED;
    t.connectInput = index;
    return SaveTuner(cardNumber_, t) ? S_OK : E_FAIL;
}

STDMETHODIMP TunerFilter::get_ConnectInput(long* index)
{
    if (!index)
        return E_POINTER;
    dshow::AutoLock lock(FilterLock());
    TunerRecord t;
    if (!Load(t))
        return E_UNEXPECTED;
    *index = t.connectInput;
    return S_OK;
}

STDMETHODIMP TunerFilter::get_VideoFrequency(long* hz)
{
    if (!hz)
        return E_POINTER;
    dshow::AutoLock lock(FilterLock());
    TunerRecord t;
    if (!Load(t))
        return E_UNEXPECTED;
    *hz = t.frequency;
    return S_OK;
}

STDMETHODIMP TunerFilter::get_AudioFrequency(long* hz)
{
    if (!hz)
        return E_POINTER;
    dshow::AutoLock lock(FilterLock());
    TunerRecord t;
    if (!Load(t))
        return E_UNEXPECTED;
    // Sound carrier above the picture carrier: 4.5 MHz for 525-line systems, 5.5 MHz otherwise.
    *hz = t.frequency + (Is525Line(t.standard) ? 4500000 : 5500000);
    return S_OK;
}

}  // namespace vcap
