#pragma once
// "MPEG Multiplexer": a video elementary stream (MPEG-1 or MPEG-2) and an MPEG audio stream
// in, one multiplexed stream out (MEDIATYPE_Stream: an MPEG-1 system stream when the video is
// MPEG-1, else an MPEG-2 program stream), packed by ProgramStreamMux. Samples go out from
// whichever input's thread completes a pack, stamped with their byte position as a file
// writer places them. IMpegMuxConfig chooses the pack size.
#include "FilterIds.h"
#include "ProgramStreamMux.h"

#include <dshowbase/BaseFilter.h>
#include <dshowbase/Pins.h>
#include <win/Lock.h>

#include <memory>
#include <optional>

namespace testbed {

class MuxFilter;

class MuxInputPin : public dshow::InputPin {
public:
    MuxInputPin(MuxFilter* filter, win::CritSec* lock, mpegmux::Input kind);

    HRESULT CheckMediaType(const dshow::MediaType& type) override;
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP EndOfStream() override;

    // Bits per second the connected type announces (0 when it says nothing).
    uint32_t AnnouncedBitRate() const;

private:
    MuxFilter* mux_;
    mpegmux::Input kind_;
};

class MuxOutputPin : public dshow::OutputPin {
public:
    MuxOutputPin(MuxFilter* filter, win::CritSec* lock);

    HRESULT CheckMediaType(const dshow::MediaType& type) override;
    HRESULT GetMediaType(int position, dshow::MediaType* type) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

private:
    MuxFilter* mux_;
};

class MuxFilter : public dshow::BaseFilter, public IMpegMuxConfig {
public:
    static dshow::INonDelegatingUnknown* Create(IUnknown* outer, HRESULT* hr);
    explicit MuxFilter(IUnknown* outer);
    ~MuxFilter() override;

    DSHOW_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    // IMpegMuxConfig
    STDMETHODIMP GetOutputMode(DWORD* mode) override;
    STDMETHODIMP SetOutputMode(DWORD mode) override;

    int GetPinCount() override { return 3; }
    dshow::BasePin* GetPin(int index) override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;

    // Whether the connected video is MPEG-1 (the output is then a system stream).
    bool VideoIsMpeg1();
    HRESULT ReceiveOn(mpegmux::Input input, IMediaSample* sample);
    HRESULT EndOfStreamOn(mpegmux::Input input);

private:
    HRESULT DeliverPacks(std::vector<uint8_t>& packs);

    win::CritSec filterLock_;
    std::unique_ptr<MuxInputPin> video_;
    std::unique_ptr<MuxInputPin> audio_;
    std::unique_ptr<MuxOutputPin> output_;
    DWORD mode_ = mpegmux::kModeDvdSectors;

    // Streaming: the pack writer and the output position, under muxLock_.
    win::CritSec muxLock_;
    std::unique_ptr<mpegmux::ProgramStreamMux> mux_;
    uint64_t bytesDelivered_ = 0;
    bool ended_[2] = {};
    bool finished_ = false;
};

}  // namespace testbed
