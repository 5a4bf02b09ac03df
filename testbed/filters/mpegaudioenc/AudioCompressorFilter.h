#pragma once
// "MPEG Audio Compressor": 16-bit PCM in, MPEG-1 Layer II out, one frame per sample, stamped
// from the time of the first input sample. The output pin's IAMStreamConfig sets the format
// (sampling rate, channels, bit rate); once set, the input takes PCM of that rate and channel
// count only, and proposes exactly that type to the pin it is connected from. Unset, the input
// takes any PCM that Layer II can carry and the bit rate defaults to 224 kbit/s (stereo) or
// 112 (one channel).
#include "Mp2FrameEncoder.h"

#include <win/ComPtr.h>

#include <dshowbase/TransformFilter.h>
#include <win/Lock.h>

#include <memory>
#include <optional>
#include <vector>

namespace testbed {

class AudioCompressorFilter : public dshow::TransformFilter {
public:
    static dshow::INonDelegatingUnknown* Create(IUnknown* outer, HRESULT* hr);
    explicit AudioCompressorFilter(IUnknown* outer);

    HRESULT CheckInputType(const dshow::MediaType& input) override;
    HRESULT CheckTransform(const dshow::MediaType& input, const dshow::MediaType& output) override;
    HRESULT GetMediaType(int position, dshow::MediaType* output) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT Transform(IMediaSample*, IMediaSample*) override { return E_UNEXPECTED; }
    HRESULT Receive(IMediaSample* sample) override;
    HRESULT EndOfStream() override;
    HRESULT StartStreaming() override;

    // For the pins: the format the output has, or would have with the current input.
    mpegaudio::Mp2Format CurrentFormat();
    std::optional<mpegaudio::Mp2Format> ConfiguredFormat();
    HRESULT Configure(const AM_MEDIA_TYPE* type);

private:
    HRESULT EncodeAndDeliver(bool flushPartial);

    win::CritSec configLock_;
    std::optional<mpegaudio::Mp2Format> configured_;

    // Streaming state, under the receive lock.
    std::unique_ptr<mpegaudio::Mp2FrameEncoder> encoder_;
    std::vector<int16_t> pending_;
    std::optional<REFERENCE_TIME> base_;
    uint64_t framesOut_ = 0;
};

// The MPEG audio type of a Layer II format (format tag 0x50, MPEG1WAVEFORMAT).
dshow::MediaType MpegAudioType(const mpegaudio::Mp2Format& f);
// The PCM format of a type Layer II can encode, if it is one.
std::optional<mpegaudio::Mp2Format> PcmFormatOf(const AM_MEDIA_TYPE& type);
// The Layer II format an MPEG audio type describes, if it is one.
std::optional<mpegaudio::Mp2Format> MpegFormatOf(const AM_MEDIA_TYPE& type);

}  // namespace testbed
