#pragma once
// "Virtual Audio Out" of a card whose encoder chip takes no sound (type 2): the capture chip's
// digitised sound reaches software as 16-bit stereo PCM, in real time from Run, for a
// software audio compressor. It offers the card's sampling rate first and the other two the
// card can digitise after it; IAMStreamConfig reads and sets the card's rate as on the
// other cards.
#include "StopAtControl.h"

#include "dshowbase/PushSource.h"

#include <chrono>
#include <cstdint>

namespace vcap {

class PcmAudioPin : public dshow::SourceStream, public IAMStreamConfig, public StopAtControl {
public:
    PcmAudioPin(dshow::SourceFilter* filter, const int* cardNumber);

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override { return NonDelegatingQueryInterface(iid, out); }
    STDMETHODIMP_(ULONG) AddRef() override { return Owner()->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return Owner()->Release(); }
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    HRESULT CheckMediaType(const dshow::MediaType& type) override;
    HRESULT GetMediaType(int position, dshow::MediaType* type) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT OnThreadStart() override;
    HRESULT Run(REFERENCE_TIME start) override;
    HRESULT FillBuffer(IMediaSample* sample) override;
    bool DeliversWhilePaused() const override { return false; }

    // IAMStreamConfig
    STDMETHODIMP SetFormat(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP GetFormat(AM_MEDIA_TYPE** type) override;
    STDMETHODIMP GetNumberOfCapabilities(int* count, int* size) override;
    STDMETHODIMP GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) override;

    static constexpr uint32_t kToneHz = 1000;
    static constexpr int kToneAmplitude = 6000;

private:
    uint32_t CardRate() const;

    const int* cardNumber_;
    uint32_t rate_ = 48000;  // of the connection, fixed while streaming
    uint64_t framesSent_ = 0;
    std::chrono::steady_clock::time_point ranAt_{};
    std::chrono::steady_clock::time_point started_{};
    bool clockStarted_ = false;
};

// PCM type of the card's sound at `rate` (16-bit stereo).
dshow::MediaType CardPcmType(uint32_t rate);
// Appends `frames` stereo frames of the tone (or silence) starting at frame `position`,
// 16-bit little-endian as PCM in DirectShow is.
void AppendPcmTone(bool tone, uint32_t rate, uint64_t position, uint32_t frames, uint8_t* out);

}  // namespace vcap
