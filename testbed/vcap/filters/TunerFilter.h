#pragma once
// The tuner filter: IAMTVTuner for channels, countries and inputs, and the tuner property set
// (PROPSETID_TUNER) through IKsPropertySet for capabilities, frequency, status and standard.
// The tuner chip's state lives with the card; the filter reads it fresh for every call.
#include "CardFilter.h"
#include "TunerNotifier.h"
#include "TunerState.h"

namespace vcap {

class TunerFilter : public CardFilter, public IAMTVTuner {
public:
    static dshow::INonDelegatingUnknown* Create(IUnknown* outer, HRESULT* hr);
    explicit TunerFilter(IUnknown* outer);

    DSHOW_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    // IKsPropertySet: PROPSETID_TUNER here, the card's other sets as every filter answers them.
    STDMETHODIMP Set(REFGUID set, DWORD id, void* instance, DWORD instanceSize, void* data, DWORD size) override;
    STDMETHODIMP Get(REFGUID set, DWORD id, void* instance, DWORD instanceSize, void* data, DWORD size,
                     DWORD* returned) override;
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

    // IAMTuner
    STDMETHODIMP put_Channel(long channel, long videoSub, long audioSub) override;
    STDMETHODIMP get_Channel(long* channel, long* videoSub, long* audioSub) override;
    STDMETHODIMP ChannelMinMax(long* min, long* max) override;
    STDMETHODIMP put_CountryCode(long code) override;
    STDMETHODIMP get_CountryCode(long* code) override;
    STDMETHODIMP put_TuningSpace(long space) override;
    STDMETHODIMP get_TuningSpace(long* space) override;
    STDMETHODIMP Logon(HANDLE) override { return S_OK; }
    STDMETHODIMP Logout() override { return S_OK; }
    STDMETHODIMP SignalPresent(long* strength) override;
    STDMETHODIMP put_Mode(AMTunerModeType mode) override;
    STDMETHODIMP get_Mode(AMTunerModeType* mode) override;
    STDMETHODIMP GetAvailableModes(long* modes) override;
    // A change of channel, frequency, country, mode, standard or input, made through any
    // tuner filter of the card, is reported once the tuner has settled on it.
    STDMETHODIMP RegisterNotificationCallBack(IAMTunerNotification* callback, long events) override;
    STDMETHODIMP UnRegisterNotificationCallBack(IAMTunerNotification* callback) override;
    // IAMTVTuner
    STDMETHODIMP get_AvailableTVFormats(long* formats) override;
    STDMETHODIMP get_TVFormat(long* format) override;
    STDMETHODIMP AutoTune(long channel, long* found) override;
    STDMETHODIMP StoreAutoTune() override { return S_OK; }
    STDMETHODIMP get_NumInputConnections(long* count) override;
    STDMETHODIMP put_InputType(long index, TunerInputType type) override;
    STDMETHODIMP get_InputType(long index, TunerInputType* type) override;
    STDMETHODIMP put_ConnectInput(long index) override;
    STDMETHODIMP get_ConnectInput(long* index) override;
    STDMETHODIMP get_VideoFrequency(long* hz) override;
    STDMETHODIMP get_AudioFrequency(long* hz) override;

protected:
    void OnCardKnown() override;

private:
    static constexpr long kInputConnections = 2;  // cable and antenna sockets

    HRESULT GetTunerProperty(DWORD id, void* data, DWORD size, DWORD* returned);
    HRESULT SetTunerProperty(DWORD id, const void* data, DWORD size);
    bool Load(TunerRecord& t) const { return HasCard() && LoadTuner(cardNumber_, t); }
    // Most IAMTVTuner calls have one of two shapes, each under the filter lock on the card's
    // tuner record: answer one value read from it, or change it and keep it. `change`
    // returns S_OK to keep the changed record, S_FALSE when nothing changed, or a failure.
    template <typename T, typename Read>
    HRESULT Answer(T* out, Read read);
    template <typename Change>
    HRESULT Update(Change change);
    bool Snapshot(std::vector<long>& state) const;

    TunerNotifier notifier_{[this](std::vector<long>& state) { return Snapshot(state); }};
};

}  // namespace vcap
