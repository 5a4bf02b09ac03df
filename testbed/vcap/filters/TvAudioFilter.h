#pragma once
// The TV audio filter: the sound decoder between the tuner and the crossbar's tuner audio
// input, with IAMTVAudio for mono, stereo and the broadcast languages.
#include "CardFilter.h"

namespace vcap {

class TvAudioFilter : public CardFilter, public IAMTVAudio {
public:
    static dshow::INonDelegatingUnknown* Create(IUnknown* outer, HRESULT* hr);
    explicit TvAudioFilter(IUnknown* outer);

    DSHOW_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    // IAMTVAudio
    STDMETHODIMP GetHardwareSupportedTVAudioModes(long* modes) override;
    STDMETHODIMP GetAvailableTVAudioModes(long* modes) override;
    STDMETHODIMP get_TVAudioMode(long* mode) override;
    STDMETHODIMP put_TVAudioMode(long mode) override;
    STDMETHODIMP RegisterNotificationCallBack(IAMTunerNotification*, long) override { return E_NOTIMPL; }
    STDMETHODIMP UnRegisterNotificationCallBack(IAMTunerNotification*) override { return E_NOTIMPL; }

protected:
    void OnCardKnown() override;
};

}  // namespace vcap
