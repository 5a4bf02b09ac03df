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

template <typename T, typename Read>
HRESULT TunerFilter::Answer(T* out, Read read)
{
    if (!out)
        return E_POINTER;
    win::AutoLock lock(*FilterLock());
    TunerRecord t;
    if (!Load(t))
        return E_UNEXPECTED;
    *out = static_cast<T>(read(t));
    return S_OK;
}

template <typename Change>
HRESULT TunerFilter::Update(Change change)
{
    win::AutoLock lock(*FilterLock());
    TunerRecord t;
    if (!Load(t))
        return E_UNEXPECTED;
    const HRESULT hr = change(t);
    if (hr != S_OK)
        return FAILED(hr) ? hr : S_OK;
    return SaveTuner(cardNumber_, t) ? S_OK : E_FAIL;
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
    return Update([&](TunerRecord& t) {
        TunerModel m = ModelOf(t);
        if (!m.TuneChannel(channel, GetTickCount()))
            return E_INVALIDARG;
        t.channel = m.Channel();
        t.frequency = m.Frequency();
        t.tunedAt = m.TunedAt();
        return S_OK;
    });
}

STDMETHODIMP TunerFilter::get_Channel(long* channel, long* videoSub, long* audioSub)
{
    if (!videoSub || !audioSub)
        return E_POINTER;
    const HRESULT hr = Answer(channel, [](const TunerRecord& t) { return t.channel; });
    if (SUCCEEDED(hr))
        *videoSub = *audioSub = -1;
    return hr;
}

STDMETHODIMP TunerFilter::ChannelMinMax(long* min, long* max)
{
    if (!max)
        return E_POINTER;
    long last = 0;
    const HRESULT hr = Answer(min, [&](const TunerRecord& t) {
        const CountryInfo c = ModelOf(t).CountryRow();
        last = c.maxChannel;
        return c.minChannel;
    });
    if (SUCCEEDED(hr))
        *max = last;
    return hr;
}

STDMETHODIMP TunerFilter::put_CountryCode(long code)
{
    return Update([&](TunerRecord& t) {
        CountryInfo c;
        if (!FindCountry(code, c))
            return E_INVALIDARG;
        if (t.country == code)
            return S_FALSE;
        // A new country retunes to its first channel, as a driver loads the new channel plan.
        t.country = code;
        TunerModel m = ModelOf(t);
        m.TuneChannel(c.minChannel, GetTickCount());
        t.channel = m.Channel();
        t.frequency = m.Frequency();
        t.tunedAt = m.TunedAt();
        t.standard = c.standard;
        return S_OK;
    });
}

STDMETHODIMP TunerFilter::get_CountryCode(long* code)
{
    return Answer(code, [](const TunerRecord& t) { return t.country; });
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
    return Answer(strength, [this](const TunerRecord& t) {
        return ModelOf(t).HasSignal(GetTickCount(), ReadStations(cardNumber_)) ? AMTUNER_SIGNALPRESENT : AMTUNER_NOSIGNAL;
    });
}

STDMETHODIMP TunerFilter::put_Mode(AMTunerModeType mode)
{
    if (mode != AMTUNER_MODE_TV)
        return E_INVALIDARG;
    return Update([](TunerRecord& t) {
        t.mode = AMTUNER_MODE_TV;
        return S_OK;
    });
}

STDMETHODIMP TunerFilter::get_Mode(AMTunerModeType* mode)
{
    return Answer(mode, [](const TunerRecord& t) { return t.mode; });
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
    return Answer(format, [](const TunerRecord& t) { return t.standard; });
}

STDMETHODIMP TunerFilter::AutoTune(long channel, long* found)
{
    if (!found)
        return E_POINTER;
    const HRESULT hr = put_Channel(channel, -1, -1);
    if (FAILED(hr))
        return hr;
    win::AutoLock lock(*FilterLock());
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
    return Update([&](TunerRecord& t) {
        t.inputType = type;
        return S_OK;
    });
}

STDMETHODIMP TunerFilter::get_InputType(long index, TunerInputType* type)
{
    if (type && (index < 0 || index >= kInputConnections))
        return E_INVALIDARG;
    return Answer(type, [](const TunerRecord& t) { return t.inputType; });
}

STDMETHODIMP TunerFilter::put_ConnectInput(long index)
{
    if (index < 0 || index >= kInputConnections)
        return E_INVALIDARG;
    return Update([&](TunerRecord& t) {
        t.connectInput = index;
        return S_OK;
    });
}

STDMETHODIMP TunerFilter::get_ConnectInput(long* index)
{
    return Answer(index, [](const TunerRecord& t) { return t.connectInput; });
}

STDMETHODIMP TunerFilter::get_VideoFrequency(long* hz)
{
    return Answer(hz, [](const TunerRecord& t) { return t.frequency; });
}

STDMETHODIMP TunerFilter::get_AudioFrequency(long* hz)
{
    // Sound carrier above the picture carrier: 4.5 MHz for 525-line systems, 5.5 MHz otherwise.
    return Answer(hz, [](const TunerRecord& t) { return t.frequency + (Is525Line(t.standard) ? 4500000 : 5500000); });
}

}  // namespace vcap
