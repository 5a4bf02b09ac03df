#pragma once
// The video output of an encoder chip that does not multiplex (type 2): the card's picture as
// an MPEG-1 or MPEG-2 video elementary stream (by the capture mode), one picture per sample
// stamped with its capture time, in real time from Run. The sound goes its own way, through
// the capture filter's PCM output and a software compressor.
#include "EncoderState.h"
#include "TestPicture.h"
#include "VideoEncoder.h"

#include "StopAtControl.h"

#include "dshowbase/PushSource.h"

#include <chrono>
#include <memory>
#include <vector>

namespace vcap {

class VideoEsPin : public dshow::SourceStream, public StopAtControl {
public:
    VideoEsPin(dshow::SourceFilter* filter, const int* cardNumber);

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

    static constexpr long kBufferBytes = 256 * 1024;

private:
    REFERENCE_TIME PictureTime(uint64_t picture) const;

    const int* cardNumber_;
    StreamConfig config_;
    std::unique_ptr<VideoEncoder> encoder_;
    Picture picture_;
    uint64_t pictures_ = 0;
    std::vector<uint8_t> pending_;  // the rest of a picture larger than one buffer
    std::chrono::steady_clock::time_point ranAt_{};
    std::chrono::steady_clock::time_point started_{};
    bool clockStarted_ = false;
};

// The elementary video type of a stream configuration: MPEG-2 video (MPEG2VIDEOINFO) or the
// MPEG-1 payload (MPEG1VIDEOINFO), with picture size, frame duration and bit rate.
dshow::MediaType ElementaryVideoType(const StreamConfig& c);

}  // namespace vcap
