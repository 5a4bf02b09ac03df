#pragma once
// The TV audio filter: the sound decoder between the tuner and the crossbar's tuner audio
// input, with IAMTVAudio for mono, stereo and the broadcast languages.
#include "CardFilter.h"
#include "TunerNotifier.h"

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
    // A change of the mode, or of the modes the tuned broadcast offers, is reported once the
    // tuner has settled.
    STDMETHODIMP RegisterNotificationCallBack(IAMTunerNotification* callback, long events) override;
    STDMETHODIMP UnRegisterNotificationCallBack(IAMTunerNotification* callback) override;

protected:
    void OnCardKnown() override;

private:
    bool Snapshot(std::vector<long>& state) const;

    TunerNotifier notifier_{[this](std::vector<long>& state) { return Snapshot(state); }};
};

}  // namespace vcap
