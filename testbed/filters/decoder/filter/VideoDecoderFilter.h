#pragma once
// The MPEG-1/MPEG-2 video decoder filter: MPEG video in (as the demultiplexer's "Video" pin
// delivers it), RGB32 out for the video renderer. Intra pictures are decoded; other pictures
// are skipped so the renderer keeps the last one. Offers the still-picture interfaces and
// accepts the decoder option the capture engine sets.
#include <dshowbase/TransformFilter.h>

#include <memory>
#include <vector>

#include "FilterIds.h"
#include "VideoStreamDecoder.h"

namespace testbed {

class VideoDecoderFilter : public dshow::TransformFilter, public IDecoderStillImage, public IDecoderOption {
public:
    static dshow::INonDelegatingUnknown* Create(IUnknown* outer, HRESULT* hr, const CLSID& clsid);

    DSHOW_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    HRESULT CheckInputType(const dshow::MediaType& input) override;
    HRESULT CheckTransform(const dshow::MediaType& input, const dshow::MediaType& output) override;
    HRESULT GetMediaType(int position, dshow::MediaType* output) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    // Samples and pictures are not one to one: Receive feeds the decoder, which delivers.
    HRESULT Transform(IMediaSample* input, IMediaSample* output) override;
    HRESULT Receive(IMediaSample* sample) override;
    HRESULT EndOfStream() override;
    HRESULT BeginFlush() override;
    HRESULT StartStreaming() override;
    HRESULT StopStreaming() override;

    // IDecoderStillImage (also answered for the second still interface identifier)
    STDMETHODIMP GetPictureSize(LONG* width, LONG* height) override;
    STDMETHODIMP GetPicturesDecoded(LONG* count) override;
    STDMETHODIMP HasPicture() override;
    STDMETHODIMP GetCurrentImage(LONG* size, BYTE* image) override;
    // IDecoderOption
    STDMETHODIMP GetOption(DWORD* value) override;
    STDMETHODIMP SetOption(DWORD value) override;

private:
    VideoDecoderFilter(IUnknown* outer, const CLSID& clsid);
    void OnPicture(const mpegv::Picture& picture, bool hasTime, int64_t time);
    bool ReadInputFormat(const dshow::MediaType& type, int* width, int* height,
                         REFERENCE_TIME* frameDuration, std::vector<uint8_t>* sequenceHeader) const;

    std::unique_ptr<mpegv::VideoStreamDecoder> decoder_;
    HRESULT deliverResult_ = S_OK;
    int width_ = 0;
    int height_ = 0;
    REFERENCE_TIME frameDuration_ = 400000;
    std::vector<uint8_t> sequenceHeader_;  // from the input format block, primes the decoder

    win::CritSec stillLock_;
    std::vector<uint8_t> still_;  // last picture as a packed 24-bit DIB
    LONG picturesDecoded_ = 0;
    DWORD option_ = 0;
};

}  // namespace testbed
