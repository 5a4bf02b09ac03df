#include "TunerFilter.h"

#include "DecoderModel.h"

#include <uuids.h>

namespace vcap {

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

STDMETHODIMP TunerFilter::RegisterNotificationCallBack(IAMTunerNotification* callback, long events)
{
    if (!HasCard())
        return E_UNEXPECTED;
    return notifier_.Register(callback, events);
}

STDMETHODIMP TunerFilter::UnRegisterNotificationCallBack(IAMTunerNotification* callback)
{
    return notifier_.Unregister(callback);
}

bool TunerFilter::Snapshot(std::vector<long>& state) const
{
    state.clear();
    TunerRecord t;
    if (!Load(t))
        return false;
    state = {t.country, t.channel, t.frequency, t.mode, t.standard, t.inputType, t.connectInput};
    const TunerModel m = ModelOf(t);
    return !m.Status(GetTickCount(), {}).busy;
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
