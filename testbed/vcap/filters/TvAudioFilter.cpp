#include "TvAudioFilter.h"

#include "TunerState.h"

#include <uuids.h>

namespace vcap {

dshow::INonDelegatingUnknown* TvAudioFilter::Create(IUnknown* outer, HRESULT* hr)
{
    auto* f = new (std::nothrow) TvAudioFilter(outer);
    *hr = f ? S_OK : E_OUTOFMEMORY;
    return f;
}

TvAudioFilter::TvAudioFilter(IUnknown* outer)
    : CardFilter(outer, *Role(FilterRole::TvAudio).filterClsid, FilterRole::TvAudio)
{
}

HRESULT STDMETHODCALLTYPE TvAudioFilter::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (iid == IID_IAMTVAudio)
        return GetInterface(static_cast<IAMTVAudio*>(this), out);
    return CardFilter::NonDelegatingQueryInterface(iid, out);
}

void TvAudioFilter::OnCardKnown()
{
    AddAnalogPin(L"TVAudio In", PINDIR_INPUT, MEDIATYPE_AnalogAudio, Wire::TunerAudio);
    AddAnalogPin(L"TVAudio Out", PINDIR_OUTPUT, MEDIATYPE_AnalogAudio, Wire::TvAudioOut);
}

STDMETHODIMP TvAudioFilter::RegisterNotificationCallBack(IAMTunerNotification* callback, long events)
{
    if (!HasCard())
        return E_UNEXPECTED;
    return notifier_.Register(callback, events);
}

STDMETHODIMP TvAudioFilter::UnRegisterNotificationCallBack(IAMTunerNotification* callback)
{
    return notifier_.Unregister(callback);
}

bool TvAudioFilter::Snapshot(std::vector<long>& state) const
{
    state.clear();
    TunerRecord t;
    if (!HasCard() || !LoadTuner(cardNumber_, t))
        return false;
    const uint32_t now = GetTickCount();
    const TunerModel m = ModelOf(t);
    state = {t.audioMode, AvailableTvAudioModes(m.HasSignal(now, ReadStations(cardNumber_)))};
    return !m.Status(now, {}).busy;
}

STDMETHODIMP TvAudioFilter::GetHardwareSupportedTVAudioModes(long* modes)
{
    if (!modes)
        return E_POINTER;
    *modes = kTvAudioHardwareModes;
    return S_OK;
}

STDMETHODIMP TvAudioFilter::GetAvailableTVAudioModes(long* modes)
{
    if (!modes)
        return E_POINTER;
    win::AutoLock lock(*FilterLock());
    TunerRecord t;
    if (!HasCard() || !LoadTuner(cardNumber_, t))
        return E_UNEXPECTED;
    // What the tuned broadcast carries.
    *modes = AvailableTvAudioModes(ModelOf(t).HasSignal(GetTickCount(), ReadStations(cardNumber_)));
    return S_OK;
}

STDMETHODIMP TvAudioFilter::get_TVAudioMode(long* mode)
{
    if (!mode)
        return E_POINTER;
    win::AutoLock lock(*FilterLock());
    TunerRecord t;
    if (!HasCard() || !LoadTuner(cardNumber_, t))
        return E_UNEXPECTED;
    *mode = t.audioMode;
    return S_OK;
}

STDMETHODIMP TvAudioFilter::put_TVAudioMode(long mode)
{
    if (!IsValidTvAudioMode(mode))
        return E_INVALIDARG;
    win::AutoLock lock(*FilterLock());
    TunerRecord t;
    if (!HasCard() || !LoadTuner(cardNumber_, t))
        return E_UNEXPECTED;
    t.audioMode = mode;
    return SaveTuner(cardNumber_, t) ? S_OK : E_FAIL;
}

}  // namespace vcap
