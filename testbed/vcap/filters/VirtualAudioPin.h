#pragma once
// "Virtual Audio Out": the capture chip's digitised sound as it goes to the encoder chip on the
// board. No samples reach software; IAMStreamConfig tells the sampling rates the encoder can
// take and sets the one it uses (kept in the card's encoder state).
#include "AnalogPin.h"

namespace vcap {

constexpr long kMinSamplingRate = 32000;
constexpr long kMaxSamplingRate = 48000;
bool IsEncoderSamplingRate(long hz);  // 32000, 44100 or 48000

class VirtualAudioPin : public AnalogPin, public IAMStreamConfig {
public:
    VirtualAudioPin(dshow::BaseFilter* filter, win::CritSec* lock, const int* cardNumber, ULONG factoryId);

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override { return NonDelegatingQueryInterface(iid, out); }
    STDMETHODIMP_(ULONG) AddRef() override { return Owner()->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return Owner()->Release(); }
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    HRESULT GetMediaType(int position, dshow::MediaType* type) override;

    // IAMStreamConfig
    STDMETHODIMP SetFormat(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP GetFormat(AM_MEDIA_TYPE** type) override;
    STDMETHODIMP GetNumberOfCapabilities(int* count, int* size) override;
    STDMETHODIMP GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) override;

private:
    dshow::MediaType CurrentType() const;
    const int* cardNumber_;
};

}  // namespace vcap
